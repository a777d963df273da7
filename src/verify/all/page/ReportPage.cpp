#include "verify/all/page/ReportPage.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

#include "base/PrintableText.h"
#include "base/ReplaceFile.h"
#include "verify/all/page/PackedText.h"

namespace {

// The verdict words in the order of the page script's verdict indexes.
const char* const kWords[] = {"passed",  "passed with warnings", "failed", "unknown",
                              "not run", "passed (waived)"};
constexpr int kWordCount = 6;

// Cells whose findings share one packed block of the page (FindingBlocks).
constexpr std::size_t kFindingBlock = 1024;

// An open row's findings take most of the window's width (the matrix widens to hold them, up
// to 64em): flow, severity, rule and log link stay on one line, an object breaks only at its
// blanks, and the message takes the rest, a long word in it broken rather than widening the
// table.
constexpr const char* kStyle = R"(
body{font-family:sans-serif;margin:1em;color:#222}
h1{font-size:1.4em;margin:.2em 0}h2{font-size:1.1em;margin:1em 0 .3em}
table{border-collapse:collapse;font-size:.9em}
th,td{border:1px solid #bbb;padding:2px 6px;text-align:left}
#matrix{table-layout:fixed}#matrix td{white-space:nowrap;overflow:hidden;text-overflow:ellipsis;height:1.3em}
#matrix tr.spacer td{border:0;padding:0}
th{background:#eee;position:sticky;top:0}
th.sortable{cursor:pointer}th.sortable:after{content:" \2195";color:#888}
td.passed{background:#c8f0c8}td.warnings{background:#fff0a8}
td.failed{background:#f8b8b8;font-weight:bold}td.unknown{background:#d8c8f0;font-weight:bold}
td.notrun{background:#eee;color:#666}td.waived{background:#dfeedf;color:#355}
#matrix tr.hasfindings td:nth-child(2){cursor:pointer}#matrix tr.hasfindings td:nth-child(2):before{content:"\25b8  "}
#matrix tr.open td:nth-child(2):before{content:"\25be  "}#matrix tr:focus{outline:2px solid #48f}
#matrix tr.detail td{white-space:normal;height:auto;background:#fafafa;overflow:visible}
table.findings{margin:.2em 0 .4em 1.5em;font-size:.95em;background:#fafafa;width:calc(100% - 1.5em);min-width:min(64em,calc(100vw - 6em))}
#matrix table.findings td{border-color:#ddd;vertical-align:top}
#matrix table.findings td:nth-child(-n+3),#matrix table.findings td:last-child{white-space:nowrap}
#matrix table.findings td:nth-child(4){overflow-wrap:break-word}
#matrix table.findings td:nth-child(5){width:100%;overflow-wrap:anywhere}
tr.f-error td.sev,tr.f-fatal td.sev{color:#a00;font-weight:bold}tr.f-warning td.sev{color:#960}
tr.fwaived td{color:#999}tr.fwaived td.sev{color:#999;font-weight:normal}.reason{font-style:italic}
#rule,#severity{font-size:1em;padding:2px;margin-left:.5em}
td a{color:inherit}td.reused{font-style:italic}
.summary{display:flex;gap:2em;flex-wrap:wrap}
.num{text-align:right}
#filter{font-size:1em;padding:3px;width:24em;margin:.5em 0}
.newfailure{color:#a00;font-weight:bold}.fixed{color:#070}
)";

// The matrix is drawn from the rows embedded as packed JSON (#rows): only the rows in and near the
// window are in the document, so a page of ten thousand parts opens as fast as one of ten;
// up to kAllRows rows are all drawn. Filter: keeps the rows whose text holds every word typed
// ("page.html#filter=failed" opens the page filtered). Sort: by the clicked column, verdict
// columns by how bad the verdict is; a second click reverses. Both work on the data.
constexpr const char* kScript = R"(
(function(){
var kAllRows=400,kMargin=30;
// The text of packed data (PackedText.h): base64 of DEFLATE blocks with codes of their own.
var LB=[3],LE=[],DB=[1],DE=[],ORDER=[16,17,18,0,8,7,9,6,10,5,11,4,12,3,13,2,14,1,15];
for(var c=0;c<29;c++){LE[c]=c<8||c===28?0:(c>>2)-1;LB[c+1]=LB[c]+(1<<LE[c]);}LB[28]=258;
for(c=0;c<30;c++){DE[c]=c<4?0:(c>>1)-1;DB[c+1]=DB[c]+(1<<DE[c]);}
function damaged(){throw new Error('the page\'s data is damaged');}
// The decoding table of a code given by its lengths: symbol * 16 + length for each value of
// the next `bits` bits of the stream.
function huffman(lengths){var max=Math.max.apply(null,lengths),count=[],next=[],code=0;
var table=new Int32Array(1<<max);for(var i=0;i<=max;i++)count[i]=0;
lengths.forEach(function(n){count[n]++;});count[0]=0;
for(i=1;i<=max;i++)next[i]=code=(code+count[i-1])<<1;
lengths.forEach(function(n,symbol){if(!n)return;
for(var r=0,v=next[n]++,j=0;j<n;j++)r|=(v>>(n-1-j)&1)<<j;for(;r<table.length;r+=1<<n)table[r]=symbol<<4|n;});
return {table:table,bits:max,mask:(1<<max)-1};}
function unpack(text){var s=atob(text),src=new Uint8Array(s.length),pos=0,buf=0,cnt=0,n=0,last=0;
for(var i=0;i<s.length;i++)src[i]=s.charCodeAt(i);var out=new Uint8Array(s.length*4+64),end=src.length+4;
function bits(k){while(cnt<k){buf|=(src[pos++]|0)<<cnt;cnt+=8;}var v=buf&((1<<k)-1);buf>>>=k;cnt-=k;return v;}
function decode(h){while(cnt<h.bits){buf|=(src[pos++]|0)<<cnt;cnt+=8;}var e=h.table[buf&h.mask];
if(!(e&15)||pos>end)damaged();buf>>>=e&15;cnt-=e&15;return e>>4;}
while(!last){last=bits(1);if(bits(2)!==2)damaged();
var nl=bits(5)+257,nd=bits(5)+1,nc=bits(4)+4,cl=[],ls=[],sym,e;
for(i=0;i<19;i++)cl[i]=0;for(i=0;i<nc;i++)cl[ORDER[i]]=bits(3);var ct=huffman(cl);
while(ls.length<nl+nd){sym=decode(ct);if(sym<16){ls.push(sym);continue;}
if(sym===16&&!ls.length)damaged();var v=sym===16?ls[ls.length-1]:0;
for(var rep=sym===16?3+bits(2):sym===17?3+bits(3):11+bits(7);rep>0;rep--)ls.push(v);}
var lit=huffman(ls.slice(0,nl)),dis=huffman(ls.slice(nl,nd+nl)),lt=lit.table,lb=lit.bits,lm=lit.mask;
for(;;){while(cnt<lb){buf|=(src[pos++]|0)<<cnt;cnt+=8;}e=lt[buf&lm];
if(!(e&15)||pos>end)damaged();buf>>>=e&15;cnt-=e&15;sym=e>>4;
if(sym<256){if(n===out.length)room(1);out[n++]=sym;continue;}
if(sym===256)break;var len=LB[sym-257]+bits(LE[sym-257]),d=decode(dis),dist=DB[d]+bits(DE[d]);
if(dist>n)damaged();room(len);if(dist>=len){out.copyWithin(n,n-dist,n-dist+len);n+=len;}
else for(i=0;i<len;i++,n++)out[n]=out[n-dist];}}
function room(k){if(n+k>out.length){var o=new Uint8Array(2*out.length+k);o.set(out);out=o;}}
return new TextDecoder().decode(out.subarray(0,n));}
var data=JSON.parse(unpack(document.getElementById('rows').textContent));
var words=['passed','passed with warnings','failed','unknown','not run','passed (waived)'];
var classes=['passed','warnings','failed','unknown','notrun','waived'];
var ranks=[0,3,4,5,2,1],sevs=['info','warning','error','fatal'];
var ruleBox=document.getElementById('rule'),sevBox=document.getElementById('severity');
var table=document.getElementById('matrix');var body=table.tBodies[0];
var filter=document.getElementById('filter');var shown=document.getElementById('shown');
// A row: its data, its findings' codes, whether it is open; its text for the filter (the
// words the filter searches, lower case) is made when first needed.
var longest=[7,4];
var next=0,all=data.rows.map(function(r){var f=[],ids=[];
for(var i=2;i<r.length;i++)if(r[i]&&r[i][2]){f=f.concat(r[i][2]);ids[i]=next++;}
longest[1]=Math.max(longest[1],r[1].length);return {r:r,f:f,ids:ids,open:false,text:null};});
data.libraries.forEach(function(l){longest[0]=Math.max(longest[0],l.length);});
function textOf(x){if(x.text!==null)return x.text;var r=x.r,text=data.libraries[r[0]]+' '+r[1];
for(var i=2;i<r.length;i++)if(r[i])text+=' '+words[r[i][0]];
x.f.forEach(function(c){text+=' '+data.rules[c>>2];});return x.text=text.toLowerCase();}
var view=all,rowHeight=0;
var cols=table.getElementsByTagName('col');
cols[0].style.width=Math.min(longest[0]+3,40)+'ch';cols[1].style.width=Math.min(longest[1]+3,60)+'ch';
for(var c=2;c<cols.length;c++)cols[c].style.width='12em';
function cell(tr,text){var td=document.createElement('td');td.textContent=text;tr.appendChild(td);return td;}
function row(x){var r=x.r,tr=document.createElement('tr');tr.setAttribute('data-text',textOf(x));
tr.item=x;if(x.f.length){tr.className='hasfindings'+(x.open?' open':'');tr.tabIndex=0;
tr.setAttribute('aria-expanded',x.open?'true':'false');}
cell(tr,data.libraries[r[0]]);cell(tr,r[1]).title=r[1];
for(var i=2;i<r.length;i++){var v=r[i];if(!v){tr.appendChild(document.createElement('td'));continue;}
var td=document.createElement('td');td.className=classes[v[0]]+(v[4]?' reused':'');td.title=data.texts[v[1]];
if(v[3]){var a=document.createElement('a');a.href=data.logs+v[3];a.textContent=words[v[0]];td.appendChild(a);}
else td.textContent=words[v[0]];tr.appendChild(td);}return tr;}
// The findings themselves are unpacked only when a row is first opened, and only the block
// holding that row's: a large library's page opens without reading every message.
var blocks=null,blockSize=0,unpacked={};
function findingsOf(id){if(!blocks){var e=document.getElementById('findings');
blocks=e.textContent.split('\n');blockSize=+e.getAttribute('data-block');}
var b=Math.floor(id/blockSize);if(!unpacked[b])unpacked[b]=JSON.parse(unpack(blocks[b]));
return unpacked[b][id%blockSize];}
// A part's findings per flow: severity, rule, object, message (a waived one greyed, with the
// waiver's reason) and its log with the report line.
function detail(x){var tr=document.createElement('tr'),td=document.createElement('td');
tr.className='detail';td.colSpan=cols.length;var t=document.createElement('table');
t.className='findings';t.appendChild(document.createElement('tbody'));
for(var i=2;i<x.r.length;i++){var v=x.r[i];if(!v||!v[2])continue;findingsOf(x.ids[i]).forEach(function(g){
var f=document.createElement('tr');f.className='f-'+sevs[g[0]]+(g[4]>=0?' fwaived':'');
cell(f,data.flows[i-2]);cell(f,sevs[g[0]]).className='sev';cell(f,data.rules[g[1]]);cell(f,g[2]);
var m=cell(f,g[3]);if(g[4]>=0){var w=document.createElement('span');w.className='reason';
w.textContent=' (waived: '+data.texts[g[4]]+')';m.appendChild(w);}
var l=document.createElement('td');if(v[3]){var a=document.createElement('a');a.href=data.logs+v[3];
a.textContent='log'+(g[5]?' line '+g[5]:'');l.appendChild(a);}f.appendChild(l);t.tBodies[0].appendChild(f);});}
td.appendChild(t);tr.appendChild(td);return tr;}
function toggle(x){x.open=!x.open;draw(true);
for(var i=0;i<body.rows.length;i++)if(body.rows[i].item===x){body.rows[i].focus();break;}}
body.addEventListener('click',function(e){if(e.target.closest('a'))return;var tr=e.target.closest('tr');
if(tr&&tr.item&&tr.item.f.length)toggle(tr.item);});
body.addEventListener('keydown',function(e){if(e.key!=='Enter')return;var tr=e.target.closest('tr');
if(tr&&tr.item&&tr.item.f.length){e.preventDefault();toggle(tr.item);}});
function spacer(rows){var tr=document.createElement('tr');tr.className='spacer';
var td=document.createElement('td');td.colSpan=cols.length;tr.appendChild(td);
tr.style.height=(rows*rowHeight)+'px';return tr;}
var drawn=[-1,-1];
function draw(force){var first=0,last=view.length;
if(view.length>kAllRows){if(!rowHeight){body.replaceChildren(row(view[0]));rowHeight=body.rows[0].offsetHeight||20;}
var top=window.scrollY-(body.getBoundingClientRect().top+window.scrollY);
first=Math.max(0,Math.floor(top/rowHeight)-kMargin);
last=Math.min(view.length,first+Math.ceil(window.innerHeight/rowHeight)+2*kMargin);}
if(!force&&first===drawn[0]&&last===drawn[1])return;drawn=[first,last];
var frag=document.createDocumentFragment();if(first>0)frag.appendChild(spacer(first));
for(var i=first;i<last;i++){frag.appendChild(row(view[i]));if(view[i].open)frag.appendChild(detail(view[i]));}
if(last<view.length)frag.appendChild(spacer(view.length-last));body.replaceChildren(frag);}
var pending=false;
window.addEventListener('scroll',function(){if(pending)return;pending=true;
requestAnimationFrame(function(){pending=false;draw(false);});});
window.addEventListener('resize',function(){draw(true);});
function apply(){var w=filter.value.toLowerCase().split(/\s+/).filter(Boolean);
var rule=ruleBox.value===''?-1:+ruleBox.value,sev=sevBox.value===''?-1:+sevBox.value;
view=all.filter(function(x){return w.every(function(s){return textOf(x).indexOf(s)>=0;})&&
(rule<0&&sev<0||x.f.some(function(c){return (rule<0||c>>2===rule)&&(c&3)>=sev;}));});
shown.textContent=view.length;draw(true);}
filter.addEventListener('input',apply);ruleBox.addEventListener('change',apply);
sevBox.addEventListener('change',apply);
var order={};
function key(x,c){if(c===0)return data.libraries[x.r[0]];if(c===1)return x.r[1];
var v=x.r[c];return v?ranks[v[0]]:-1;}
table.tHead.addEventListener('click',function(e){var th=e.target.closest('th');if(!th)return;
var c=th.cellIndex;var dir=order[c]=-(order[c]||1);
all.sort(function(a,b){var x=key(a,c),y=key(b,c);
var d=(c<2)?x.localeCompare(y):(x-y);return d*-dir;});apply();});
function hash(name){var m=new RegExp('[#&]'+name+'=([^&]*)').exec(location.hash);
return m?decodeURIComponent(m[1]):null;}
if(hash('filter')!==null)filter.value=hash('filter');
if(hash('rule')!==null)ruleBox.value=String(data.rules.indexOf(hash('rule')));
if(hash('severity')!==null)sevBox.value=String(sevs.indexOf(hash('severity')));
var opened=hash('open');all.forEach(function(x){if(opened===data.libraries[x.r[0]]+'/'+x.r[1])x.open=true;});
apply();
// A link to a part's open row shows that row.
var at=view.findIndex(function(x){return x.open;});
if(at>=0){if(!rowHeight)rowHeight=body.rows[0]?body.rows[0].offsetHeight||20:20;
window.scrollTo(0,body.getBoundingClientRect().top+window.scrollY+at*rowHeight-table.tHead.offsetHeight-8);draw(false);}
})();
)";

struct Counts {
  std::map<std::string, long> byWord;
};

// The columns are the first columns verdict words: "passed (waived)" only when some result
// passed by waivers.
void CountsTable(std::ostream& out, const std::string& heading, const std::string& counted,
                 const std::string& what, const std::map<std::string, Counts>& counts,
                 const std::string& id, int columns) {
  out << "<div><h2>" << heading << "</h2><p>" << counted << "</p><table id=\"" << id
      << "\"><thead><tr><th>" << what << "</th>";
  for (int i = 0; i < columns; ++i) out << "<th>" << kWords[i] << "</th>";
  out << "</tr></thead><tbody>\n";
  for (const auto& [name, count] : counts) {
    out << "<tr><td>" << HtmlText(name) << "</td>";
    for (int i = 0; i < columns; ++i) {
      const auto found = count.byWord.find(kWords[i]);
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

// A string as a JSON string that is also safe inside a <script> element: besides quotes,
// backslashes and control characters, <, > and & are written as \u escapes, so no name can
// close the element.
std::string JsonText(const std::string& text) {
  static const char digits[] = "0123456789abcdef";
  std::string json = "\"";
  for (unsigned char c : PrintableText(text)) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
    } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
      json += "\\u00";
      json += digits[c >> 4];
      json += digits[c & 15];
    } else {
      json += static_cast<char>(c);
    }
  }
  return json + "\"";
}

// How bad a verdict word is, for a part's worst verdict over its flows: a flow that did not
// apply counts only when none did.
int Badness(const std::string& word) {
  static const char* const kBestFirst[] = {
      "not run", "passed", "passed (waived)", "passed with warnings", "failed", "unknown"};
  for (int i = 0; i < kWordCount; ++i)
    if (word == kBestFirst[i]) return i;
  return kWordCount - 1;
}

int VerdictCode(const std::string& word) {
  for (int i = 0; i < kWordCount; ++i)
    if (word == kWords[i]) return i;
  return 3;  // unknown
}

// The rules of the findings, in name order, each with the parts whose finding of it counts
// (not waived), how many findings and how many of them are waived.
struct RuleCount {
  std::set<std::pair<std::string, std::string>> parts;
  long findings = 0;
  long waived = 0;
};

std::map<std::string, RuleCount> CountRules(const std::vector<PageCell>& cells) {
  std::map<std::string, RuleCount> rules;
  for (const PageCell& cell : cells) {
    for (const Finding& finding : cell.result.findings) {
      RuleCount& count = rules[finding.rule];
      ++count.findings;
      if (!finding.waived.empty()) {
        ++count.waived;
        continue;
      }
      count.parts.insert(
          {cell.result.library, finding.part.empty() ? cell.result.cell : finding.part});
    }
  }
  return rules;
}

// The cells' findings in blocks of kFindingBlock cells, each block a JSON array packed on a
// line of its own, so that opening a row unpacks only its block. A block is packed as soon as
// it is full: the findings of thousands of parts are never all held as text.
class FindingBlocks {
 public:
  void Add(const std::string& cellJson) {
    block_ += (count_ % kFindingBlock == 0 ? "[" : ",\n") + cellJson;
    if (++count_ % kFindingBlock == 0) Pack();
  }
  // The findings element.
  void Write(std::ostream& out) {
    if (count_ % kFindingBlock != 0) Pack();
    out << "<script type=\"text/plain\" id=\"findings\" data-block=\"" << kFindingBlock << "\">"
        << packed_ << "</script>\n";
  }

 private:
  void Pack() {
    packed_ += (packed_.empty() ? "" : "\n") + PackedText(block_ + "]");
    block_.clear();
  }

  std::size_t count_ = 0;
  std::string block_;
  std::string packed_;
};

// The findings of a cell as the script reads them: in the row, the codes (rule index * 4 +
// severity) of its findings (the script numbers the cells with findings in row order, which
// is their order in blocks); in blocks, [severity index, rule index, object, message,
// waiver text index or -1, report line or 0] each.
void WriteFindingsJson(std::ostream& out, FindingBlocks& blocks, const VerifyResult& result,
                       const std::map<std::string, std::size_t>& rules,
                       std::map<std::string, std::size_t>& texts) {
  std::set<std::size_t> codes;
  for (const Finding& finding : result.findings)
    codes.insert(rules.at(finding.rule) * 4 + static_cast<std::size_t>(finding.severity));
  out << "[";
  const char* separator = "";
  for (const std::size_t code : codes) {
    out << separator << code;
    separator = ",";
  }
  out << "]";
  std::string json = "[";
  for (const Finding& finding : result.findings) {
    const long waived =
        finding.waived.empty()
            ? -1
            : static_cast<long>(texts.emplace(finding.waived, texts.size()).first->second);
    json += (json.size() > 1 ? ",[" : "[") + std::to_string(static_cast<int>(finding.severity)) +
            "," + std::to_string(rules.at(finding.rule)) + "," + JsonText(finding.object) + "," +
            JsonText(finding.message) + "," + std::to_string(waived) + "," +
            std::to_string(finding.line) + "]";
  }
  blocks.Add(json + "]");
}

using MatrixRows = std::map<std::pair<std::string, std::string>,  // library, part
                            std::map<std::string, const PageCell*>>;

// The matrix as the page's script reads it: {"libraries":[names], "texts":[tooltips],
// "logs":"common folder of the links/", "rows":[[library index, part, cell per flow]]},
// a cell [verdict index in kWords, tooltip index, its findings' codes (WriteFindingsJson) or
// 0, log link after "logs" or "", reused 0/1], the last ones left out while they are 0 or "",
// or 0 when the flow has no result for the part. Libraries and tooltips are listed once, as
// thousands of parts share them.
void WriteMatrixJson(std::ostream& out, FindingBlocks& blocks, const MatrixRows& rows,
                     const std::vector<std::string>& flows,
                     const std::map<std::string, RuleCount>& ruleCounts) {
  std::map<std::string, std::size_t> rules;
  for (const auto& [rule, count] : ruleCounts) rules.emplace(rule, rules.size());
  std::map<std::string, std::size_t> libraries;
  std::map<std::string, std::size_t> texts;
  std::string folder;
  bool firstLink = true;
  for (const auto& [row, cells] : rows) {
    libraries.emplace(row.first, libraries.size());
    for (const auto& [flow, cell] : cells) {
      const std::string& link = cell->logLink;
      if (link.empty()) continue;
      if (firstLink) folder = link.substr(0, link.rfind('/') + 1);
      firstLink = false;
      if (link.compare(0, folder.size(), folder) != 0) folder.clear();
    }
  }
  std::vector<const std::string*> libraryNames(libraries.size());
  for (const auto& [name, index] : libraries) libraryNames[index] = &name;
  std::ostringstream rowsJson;
  const char* rowSeparator = "";
  for (const auto& [row, cells] : rows) {
    rowsJson << rowSeparator << "[" << libraries[row.first] << "," << JsonText(row.second);
    rowSeparator = ",\n";
    for (const std::string& flow : flows) {
      const auto found = cells.find(flow);
      if (found == cells.end()) {
        rowsJson << ",0";
        continue;
      }
      const PageCell& cell = *found->second;
      const std::string detail =
          cell.result.message.empty() ? cell.result.cause : cell.result.message;
      const std::size_t text = texts.emplace(detail, texts.size()).first->second;
      const std::string link = cell.logLink.empty() ? "" : cell.logLink.substr(folder.size());
      rowsJson << ",[" << VerdictCode(VerdictWord(cell.result)) << "," << text;
      const bool more = !link.empty() || cell.reused;
      if (!cell.result.findings.empty() || more) rowsJson << ",";
      if (!cell.result.findings.empty()) {
        WriteFindingsJson(rowsJson, blocks, cell.result, rules, texts);
      } else if (more) {
        rowsJson << "0";
      }
      if (more) rowsJson << "," << JsonText(link.empty() ? "" : UrlPath(link));
      if (cell.reused) rowsJson << ",1";
      rowsJson << "]";
    }
    rowsJson << "]";
  }
  std::vector<const std::string*> textList(texts.size());
  for (const auto& [detail, index] : texts) textList[index] = &detail;
  out << "{\"libraries\":[";
  for (std::size_t i = 0; i < libraryNames.size(); ++i)
    out << (i ? "," : "") << JsonText(*libraryNames[i]);
  out << "],\n\"texts\":[";
  for (std::size_t i = 0; i < textList.size(); ++i) out << (i ? "," : "") << JsonText(*textList[i]);
  out << "],\n\"rules\":[";
  for (const auto& [rule, index] : rules) out << (index ? "," : "") << JsonText(rule);
  out << "],\n\"flows\":[";
  for (std::size_t i = 0; i < flows.size(); ++i) out << (i ? "," : "") << JsonText(flows[i]);
  out << "],\n\"logs\":" << JsonText(UrlPath(folder)) << ",\n\"rows\":[\n"
      << rowsJson.str() << "]}";
}

// "prop_present: 12 parts": a rule and the parts whose finding of it counts.
std::string RuleSummary(const std::string& rule, const RuleCount& count) {
  return rule + ": " + std::to_string(count.parts.size()) +
         (count.parts.size() == 1 ? " part" : " parts");
}

void WriteRuleCounts(std::ostream& out, const std::map<std::string, RuleCount>& rules) {
  out << "<h2>Findings per rule</h2>\n";
  if (rules.empty()) {
    out << "<p id=\"perrule\">No findings.</p>\n";
    return;
  }
  out << "<p>Parts with a finding of the rule that counts (waived findings do not).</p>"
         "<table id=\"perrule\"><thead><tr><th>rule</th><th>parts</th><th>findings</th>"
         "<th>waived</th></tr></thead><tbody>\n";
  for (const auto& [rule, count] : rules) {
    out << "<tr><td title=\"" << HtmlText(RuleSummary(rule, count)) << "\">" << HtmlText(rule)
        << "</td><td class=\"num\">" << count.parts.size() << "</td><td class=\"num\">"
        << count.findings << "</td><td class=\"num\">" << count.waived << "</td></tr>\n";
  }
  out << "</tbody></table>\n";
}

// The filter by rule (each with its count of parts) and by least severity, beside the text
// filter; option values are the script's rule and severity indexes.
void RuleAndSeverityBoxes(std::ostream& out, const std::map<std::string, RuleCount>& rules) {
  out << " <select id=\"rule\" aria-label=\"rule\"><option value=\"\">any rule</option>";
  std::size_t index = 0;
  for (const auto& [rule, count] : rules)
    out << "<option value=\"" << index++ << "\">" << HtmlText(RuleSummary(rule, count))
        << "</option>";
  out << "</select> <select id=\"severity\" aria-label=\"severity\">"
         "<option value=\"\">any severity</option><option value=\"1\">warning or worse</option>"
         "<option value=\"2\">error or worse</option><option value=\"3\">fatal</option>"
         "</select>";
}

// The findings that came and went since the previous run (rule, part, object).
void WriteFindingChanges(std::ostream& out, const std::vector<FindingChange>& changes) {
  if (changes.empty()) {
    out << "<p id=\"findingchanges\">No finding came or went.</p>\n";
    return;
  }
  out << "<table id=\"findingchanges\"><thead><tr><th>finding</th><th>library</th><th>part</th>"
         "<th>flow</th><th>rule</th><th>object</th><th>message</th></tr></thead><tbody>\n";
  for (const FindingChange& change : changes) {
    out << "<tr class=\"" << (change.fixed ? "fixed" : "newfailure") << "\"><td>"
        << (change.fixed ? "fixed" : "new") << "</td><td>" << HtmlText(change.library)
        << "</td><td>" << HtmlText(change.part) << "</td><td>" << HtmlText(change.flow)
        << "</td><td>" << HtmlText(change.finding.rule) << "</td><td>"
        << HtmlText(change.finding.object) << "</td><td>" << HtmlText(change.finding.message)
        << "</td></tr>\n";
  }
  out << "</tbody></table>\n";
}

void WritePage(const ReportPageData& data, std::ostream& out) {
  const std::map<std::string, RuleCount> ruleCounts = CountRules(data.cells);
  MatrixRows rows;
  std::map<std::string, Counts> byFlow;
  std::map<std::string, Counts> byLibraryFlow;
  std::map<std::pair<std::string, std::string>, std::string> worst;  // per part
  for (const PageCell& cell : data.cells) {
    rows[{cell.result.library, cell.result.cell}][cell.result.flow] = &cell;
    const std::string word = VerdictWord(cell.result);
    ++byFlow[cell.result.flow].byWord[word];
    ++byLibraryFlow[cell.result.library + " / " + cell.result.flow].byWord[word];
    auto [part, added] = worst.try_emplace({cell.result.library, cell.result.cell}, word);
    if (!added && Badness(word) > Badness(part->second)) part->second = word;
  }
  std::map<std::string, Counts> byLibrary;
  for (const auto& [part, word] : worst) ++byLibrary[part.first].byWord[word];
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
  if (data.hasPrevious) WriteFindingChanges(out, data.findingChanges);
  out << "<div class=\"summary\">\n";
  const bool anyWaived = std::any_of(data.cells.begin(), data.cells.end(),
                                     [](const PageCell& cell) { return cell.result.waived; });
  const int columns = anyWaived ? kWordCount : kWordCount - 1;
  CountsTable(out, "Per library", "Parts, each counted once by its worst verdict over the flows.",
              "library", byLibrary, "perlibrary", columns);
  CountsTable(out, "Per flow", "Checks: one per part and flow.", "flow", byFlow, "perflow",
              columns);
  CountsTable(out, "Per library and flow", "Checks: one per part and flow.", "library / flow",
              byLibraryFlow, "perlibraryflow", columns);
  out << "</div>\n";
  WriteRuleCounts(out, ruleCounts);
  out << "<h2>Parts and flows</h2>\n"
      << "<input id=\"filter\" type=\"search\" placeholder=\"filter: part, library, verdict "
         "or rule words\" aria-label=\"filter\">";
  RuleAndSeverityBoxes(out, ruleCounts);
  out << " <span id=\"shown\">" << rows.size() << "</span> of " << rows.size() << " parts shown\n"
      << "<table id=\"matrix\"><colgroup><col><col>";
  for (std::size_t i = 0; i < data.flows.size(); ++i) out << "<col>";
  out << "</colgroup><thead><tr><th class=\"sortable\">library</th><th "
         "class=\"sortable\">part</th>";
  for (const std::string& flow : data.flows)
    out << "<th class=\"sortable\">" << HtmlText(flow) << "</th>";
  out << "</tr></thead><tbody></tbody></table>\n"
      << "<noscript><p>The matrix is drawn by the page's script: allow scripts for this "
         "file to see it.</p></noscript>\n<script type=\"text/plain\" id=\"rows\">";
  FindingBlocks blocks;
  std::ostringstream matrix;
  WriteMatrixJson(matrix, blocks, rows, data.flows, ruleCounts);
  out << PackedText(matrix.str()) << "</script>\n";
  blocks.Write(out);
  out << "<script>" << kScript << "</script>\n</body></html>\n";
}

}  // namespace

std::string HtmlText(const std::string& text) { return MarkupText(text); }

bool WriteReportPage(const ReportPageData& data, const std::string& file, std::string& error) {
  return ReplaceFileFromStream(
      file, [&](std::ostream& out) { WritePage(data, out); }, &error);
}
