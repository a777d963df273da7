#include "verify/all/page/ReportPage.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "base/PrintableText.h"

namespace {

// Verdict words as CSS classes and sort ranks (worst first when sorted descending).
std::string CssClass(const std::string& word) {
  if (word == "passed") return "passed";
  if (word == "passed with warnings") return "warnings";
  if (word == "failed") return "failed";
  if (word == "not run") return "notrun";
  return "unknown";
}

int Rank(const std::string& word) {
  if (word == "passed") return 0;
  if (word == "not run") return 1;
  if (word == "passed with warnings") return 2;
  if (word == "failed") return 3;
  return 4;
}

const char* const kWords[] = {"passed", "passed with warnings", "failed", "unknown", "not run"};

constexpr const char* kStyle = R"(
body{font-family:sans-serif;margin:1em;color:#222}
h1{font-size:1.4em;margin:.2em 0}h2{font-size:1.1em;margin:1em 0 .3em}
table{border-collapse:collapse;font-size:.9em}
th,td{border:1px solid #bbb;padding:2px 6px;text-align:left}
th{background:#eee;position:sticky;top:0}
th.sortable{cursor:pointer}th.sortable:after{content:" \2195";color:#888}
td.passed{background:#c8f0c8}td.warnings{background:#fff0a8}
td.failed{background:#f8b8b8;font-weight:bold}td.unknown{background:#d8c8f0;font-weight:bold}
td.notrun{background:#eee;color:#666}
td a{color:inherit}td.reused{font-style:italic}
.summary{display:flex;gap:2em;flex-wrap:wrap}
.num{text-align:right}
#filter{font-size:1em;padding:3px;width:24em;margin:.5em 0}
.newfailure{color:#a00;font-weight:bold}.fixed{color:#070}
)";

// Filter: hides the rows whose text does not hold every word typed ("page.html#filter=failed"
// opens the page filtered). Sort: by the clicked
// column, verdict columns by how bad the verdict is; a second click reverses.
constexpr const char* kScript = R"(
(function(){
var table=document.getElementById('matrix');var body=table.tBodies[0];
var rows=Array.prototype.slice.call(body.rows);
var filter=document.getElementById('filter');var shown=document.getElementById('shown');
function apply(){var words=filter.value.toLowerCase().split(/\s+/).filter(Boolean);var n=0;
for(var i=0;i<rows.length;i++){var r=rows[i];var text=r.getAttribute('data-text');
var ok=words.every(function(w){return text.indexOf(w)>=0;});r.style.display=ok?'':'none';if(ok)n++;}
shown.textContent=n;}
filter.addEventListener('input',apply);
var heads=table.tHead.rows[0].cells;var order={};
for(var c=0;c<heads.length;c++){(function(c){heads[c].addEventListener('click',function(){
var dir=order[c]=-(order[c]||1);
rows.sort(function(a,b){var x=a.cells[c],y=b.cells[c];
var p=x.getAttribute('data-rank'),q=y.getAttribute('data-rank');
var d=(p!==null)?(p-q):x.textContent.localeCompare(y.textContent);
return d*-dir;});
var frag=document.createDocumentFragment();rows.forEach(function(r){frag.appendChild(r);});
body.appendChild(frag);});})(c);}
var preset=/[#&]filter=([^&]*)/.exec(location.hash);
if(preset)filter.value=decodeURIComponent(preset[1]);
apply();
})();
)";

struct Counts {
  std::map<std::string, long> byWord;
};

void CountsTable(std::ostream& out, const std::string& heading, const std::string& what,
                 const std::map<std::string, Counts>& counts, const std::string& id) {
  out << "<div><h2>" << heading << "</h2><table id=\"" << id << "\"><thead><tr><th>" << what
      << "</th>";
  for (const char* word : kWords) out << "<th>" << word << "</th>";
  out << "</tr></thead><tbody>\n";
  for (const auto& [name, count] : counts) {
    out << "<tr><td>" << HtmlText(name) << "</td>";
    for (const char* word : kWords) {
      const auto found = count.byWord.find(word);
      out << "<td class=\"num\">" << (found == count.byWord.end() ? 0 : found->second) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</tbody></table></div>\n";
}

// A relative path as a URL: every byte but the unreserved ones and "/" percent-encoded, so
// that a page named "my #1 report.html" still finds its logs.
std::string UrlPath(const std::string& path) {
  static const char digits[] = "0123456789ABCDEF";
  std::string url;
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~' || c == '/') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += digits[c >> 4];
      url += digits[c & 15];
    }
  }
  return url;
}

}  // namespace

std::string HtmlText(const std::string& text) {
  const std::string clean = PrintableText(text);
  std::string html;
  html.reserve(clean.size());
  for (char c : clean) {
    switch (c) {
      case '&':
        html += "&amp;";
        break;
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      case '"':
        html += "&quot;";
        break;
      case '\'':
        html += "&#39;";
        break;
      default:
        html += c;
    }
  }
  return html;
}

bool WriteReportPage(const ReportPageData& data, const std::string& file, std::string& error) {
  using Row = std::pair<std::string, std::string>;  // library, part
  std::map<Row, std::map<std::string, const PageCell*>> rows;
  std::map<std::string, Counts> byFlow;
  std::map<std::string, Counts> byLibrary;
  for (const PageCell& cell : data.cells) {
    rows[{cell.result.library, cell.result.cell}][cell.result.flow] = &cell;
    const std::string word = VerdictWord(cell.result);
    ++byFlow[cell.result.flow].byWord[word];
    ++byLibrary[cell.result.library].byWord[word];
  }
  std::ostringstream out;
  out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
      << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
         "style-src 'unsafe-inline'; script-src 'unsafe-inline'\">\n"
      << "<title>Library verification: " << HtmlText(data.title) << "</title>\n<style>" << kStyle
      << "</style></head><body>\n"
      << "<h1>Library verification: " << HtmlText(data.title) << "</h1>\n<p>" << rows.size()
      << " parts, " << data.flows.size() << " flows; " << HtmlText(data.generated)
      << ". Italic verdicts are those of an earlier run, the part being unchanged.</p>\n";

  out << "<h2>Changes since the previous run</h2>\n";
  if (!data.hasPrevious) {
    out << "<p id=\"changes\">No previous run to compare with.</p>\n";
  } else if (data.changes.empty()) {
    out << "<p id=\"changes\">No verdict changed.</p>\n";
  } else {
    out << "<table id=\"changes\"><thead><tr><th>change</th><th>library</th><th>part</th>"
           "<th>flow</th><th>before</th><th>now</th></tr></thead><tbody>\n";
    for (const VerdictChange& change : data.changes) {
      const std::string kind = ChangeKindName(change.kind);
      out << "<tr class=\""
          << (change.kind == VerdictChange::Kind::NewFailure ? "newfailure"
              : change.kind == VerdictChange::Kind::Fixed    ? "fixed"
                                                             : "")
          << "\"><td>" << kind << "</td><td>" << HtmlText(change.library) << "</td><td>"
          << HtmlText(change.cell) << "</td><td>" << HtmlText(change.flow) << "</td><td>"
          << HtmlText(change.before) << "</td><td>" << HtmlText(change.after) << "</td></tr>\n";
    }
    out << "</tbody></table>\n";
  }

  out << "<div class=\"summary\">\n";
  CountsTable(out, "Per flow", "flow", byFlow, "perflow");
  CountsTable(out, "Per library", "library", byLibrary, "perlibrary");
  out << "</div>\n<h2>Parts and flows</h2>\n"
      << "<input id=\"filter\" type=\"search\" placeholder=\"filter: part, library or verdict "
         "words\" aria-label=\"filter\"> <span id=\"shown\">"
      << rows.size() << "</span> of " << rows.size() << " parts shown\n"
      << "<table id=\"matrix\"><thead><tr><th class=\"sortable\">library</th>"
         "<th class=\"sortable\">part</th>";
  for (const std::string& flow : data.flows)
    out << "<th class=\"sortable\">" << HtmlText(flow) << "</th>";
  out << "</tr></thead><tbody>\n";
  for (const auto& [row, cells] : rows) {
    std::string text = row.first + " " + row.second;
    for (const auto& [flow, cell] : cells) text += " " + VerdictWord(cell->result);
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    out << "<tr data-text=\"" << HtmlText(text) << "\"><td>" << HtmlText(row.first) << "</td><td>"
        << HtmlText(row.second) << "</td>";
    for (const std::string& flow : data.flows) {
      const auto found = cells.find(flow);
      if (found == cells.end()) {
        out << "<td data-rank=\"-1\"></td>";
        continue;
      }
      const PageCell& cell = *found->second;
      const std::string word = VerdictWord(cell.result);
      const std::string detail =
          cell.result.message.empty() ? cell.result.cause : cell.result.message;
      out << "<td class=\"" << CssClass(word) << (cell.reused ? " reused" : "") << "\" data-rank=\""
          << Rank(word) << "\" title=\"" << HtmlText(detail) << "\">";
      if (cell.logLink.empty()) {
        out << word;
      } else {
        out << "<a href=\"" << HtmlText(UrlPath(cell.logLink)) << "\">" << word << "</a>";
      }
      out << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</tbody></table>\n<script>" << kScript << "</script>\n</body></html>\n";

  const std::string side = file + ".new";
  std::ofstream page(side, std::ios::binary | std::ios::trunc);
  page << out.str();
  page.flush();
  if (!page) {
    error = "cannot write " + side;
    return false;
  }
  page.close();
  if (std::rename(side.c_str(), file.c_str()) != 0) {
    error = "cannot replace " + file;
    return false;
  }
  return true;
}
