// The report of "tak parse" as JSON, written while walking the model: no document is built,
// so memory stays that of the model whatever its size. The text is what nlohmann::json's
// dump(2) with replaced invalid UTF-8 gives for the report's document.
#pragma once

#include <ostream>
#include <string>

class CSpiProgramList;

// {"lastMessage": ..., "programs": [...], "result": ...} and no line end after it.
void TakWriteParseReport(std::ostream& out, int result, const std::string& lastMessage,
                         const CSpiProgramList& programs);
