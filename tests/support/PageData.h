// The packed data of a report page read back with zlib, an inflater of its own: what the
// page's script would see.
#pragma once

#include <string>

// The text of the page's element id unpacked: for an element of several packed lines, the
// lines' texts joined by newlines; "" when the page has no such element or it does not
// unpack.
std::string UnpackedPageData(const std::string& page, const std::string& id);

// text unpacked (base64, then raw DEFLATE); "" when it is not packed data.
std::string Unpacked(const std::string& text);
