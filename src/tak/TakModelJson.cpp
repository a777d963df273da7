#include "tak/TakModelJson.h"

#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

#include "projectfile/CSpiProgramList.h"

namespace {

// Pretty-printed JSON in the layout of nlohmann::json's dump(2): "[]" and "{}" when empty,
// else one member per line, two blanks deeper per level, keys as given (the caller gives them
// in sorted order, as a json object keeps them). Text goes to out in large pieces.
class JsonStream {
 public:
  explicit JsonStream(std::ostream& out)
      : out_(out),
        escaper_(nlohmann::detail::output_adapter<char>(text_), ' ',
                 nlohmann::json::error_handler_t::replace) {}
  ~JsonStream() { Flush(); }
  JsonStream(const JsonStream&) = delete;
  JsonStream& operator=(const JsonStream&) = delete;

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // A member's key; its value follows.
  void Key(std::string_view key) {
    NextItem();
    String(key);
    text_ += ": ";
    keyed_ = true;
  }
  void Value(std::string_view text) {
    NextItem();
    String(text);
  }
  void Value(long number) {
    NextItem();
    text_ += std::to_string(number);
  }
  void Value(bool flag) {
    NextItem();
    text_ += flag ? "true" : "false";
  }
  void Strings(const SpiValueView& values) {
    BeginArray();
    for (const std::string_view value : values) Value(value);
    EndArray();
  }

 private:
  void Open(char bracket) {
    NextItem();
    text_ += bracket;
    empty_.push_back(true);
  }
  void Close(char bracket) {
    const bool empty = empty_.back();
    empty_.pop_back();
    if (!empty) {
      text_ += '\n';
      text_.append(2 * empty_.size(), ' ');
    }
    text_ += bracket;
    if (text_.size() >= kFlushAt) Flush();
  }
  // Before a value: the separator and indentation of a new element, unless it follows its key.
  void NextItem() {
    if (keyed_) {
      keyed_ = false;
      return;
    }
    if (empty_.empty()) return;
    text_ += empty_.back() ? "\n" : ",\n";
    empty_.back() = false;
    text_.append(2 * empty_.size(), ' ');
  }
  void String(std::string_view text) {
    // The held string's capacity is reused from string to string.
    string_.get_ref<std::string&>().assign(text);
    escaper_.dump(string_, false, false, 0);
  }
  void Flush() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }

  static constexpr std::size_t kFlushAt = 1 << 16;
  std::ostream& out_;
  std::string text_;
  nlohmann::json string_ = "";
  // The escaping of nlohmann::json itself, so that strings come out byte for byte as its
  // dump writes them (invalid UTF-8 replaced).
  nlohmann::detail::serializer<nlohmann::json> escaper_;
  std::vector<bool> empty_;  // per open container: nothing in it yet
  bool keyed_ = false;
};

void WriteDirective(JsonStream& json, const CSpiDirective& directive) {
  json.BeginObject();
  json.Key("doubleQuoted");
  json.Value(static_cast<long>(directive.doubleQuoted));
  json.Key("levels");
  json.BeginArray();
  for (int level = 0; level < kSpiLevelCount; ++level) {
    json.BeginObject();
    json.Key("controlPresent");
    json.Value(directive.ControlPresent(level));
    json.Key("controls");
    json.Strings(directive.Controls(level).Values());
    json.Key("level");
    json.Value(static_cast<long>(level));
    json.Key("values");
    json.Strings(directive.Values(level).Values());
    json.EndObject();
  }
  json.EndArray();
  json.Key("name");
  json.Value(directive.name);
  json.Key("projectSet");
  json.Value(directive.projectSet);
  json.Key("userSet");
  json.Value(directive.userSet);
  json.Key("winningLevel");
  json.Value(static_cast<long>(directive.winningLevel));
  json.EndObject();
}

}  // namespace

void TakWriteParseReport(std::ostream& out, int result, const std::string& lastMessage,
                         const CSpiProgramList& programs) {
  JsonStream json(out);
  json.BeginObject();
  json.Key("lastMessage");
  json.Value(lastMessage);
  json.Key("programs");
  json.BeginArray();
  for (const auto& program : programs.Programs()) {
    json.BeginObject();
    json.Key("directives");
    json.BeginArray();
    for (const CSpiDirective* directive : program->Directives()) WriteDirective(json, *directive);
    json.EndArray();
    json.Key("level");
    json.Value(static_cast<long>(program->level));
    json.Key("name");
    json.Value(program->name);
    json.EndObject();
  }
  json.EndArray();
  json.Key("result");
  json.Value(static_cast<long>(result));
  json.EndObject();
}
