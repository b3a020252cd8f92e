// The HTML page shell and escaping.
#include "common/HtmlText.h"

#include <cstdio>

#include "common/MachineFormats.h"

namespace ravelin {

namespace {

const char* const kStyle = R"(body{font:14px/1.4 system-ui,sans-serif;margin:1.5em;color:#222}
h1{font-size:1.5em;margin:0 0 .3em}h2{font-size:1.2em;margin:1.5em 0 .4em}
table{border-collapse:collapse;font-variant-numeric:tabular-nums}
th,td{padding:2px 8px;border-bottom:1px solid #ddd;text-align:right}
th:first-child,td:first-child{text-align:left}
th{background:#f2f2f2;cursor:pointer;user-select:none;position:sticky;top:0}
th.asc::after{content:" \25B2"}th.desc::after{content:" \25BC"}
.totals td{font-weight:bold}.bar{display:inline-block;width:80px;height:8px;background:#eee;
vertical-align:middle}.bar span{display:block;height:100%;background:#4a8}
.unresolved td{color:#999}.error{color:#b00;font-weight:bold}.note{color:#666}
dl.summary{display:grid;grid-template-columns:max-content auto;gap:2px 1em}
dl.summary dt{color:#555}dl.summary dd{margin:0}
#units td:nth-child(2),#units th:nth-child(2){text-align:left}
.graph{overflow:auto;border:1px solid #ddd}.graph svg{max-width:100%;height:auto}input.filter{margin:0 0 .4em}
)";

// Sorting by a header click (numbers by their data-v value, text by its content) and
// filtering by name; nothing else runs, and nothing is fetched.
const char* const kScript = R"(document.querySelectorAll("table.sortable").forEach(function(t){
var b=t.tBodies[0];t.tHead.querySelectorAll("th").forEach(function(h,i){
h.addEventListener("click",function(){var d=h.classList.contains("asc")?-1:1;
t.tHead.querySelectorAll("th").forEach(function(x){x.classList.remove("asc","desc")});
h.classList.add(d>0?"asc":"desc");var r=Array.prototype.slice.call(b.rows);
r.sort(function(x,y){var a=x.cells[i],c=y.cells[i];var p=a.dataset.v,q=c.dataset.v;
var v=(p!==undefined&&q!==undefined)?(Number(p)-Number(q)):
a.textContent.localeCompare(c.textContent);return v*d||(x.dataset.i-y.dataset.i)});
r.forEach(function(x){b.appendChild(x)})})})});
document.querySelectorAll("input.filter").forEach(function(f){
var t=document.getElementById(f.dataset.table);f.addEventListener("input",function(){
var s=f.value.toLowerCase();Array.prototype.forEach.call(t.tBodies[0].rows,function(r){
r.hidden=r.cells[0].textContent.toLowerCase().indexOf(s)<0})})});
)";

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : ReadableUtf8(text)) {
    switch (c) {
      case '&':
        result += "&amp;";
        break;
      case '<':
        result += "&lt;";
        break;
      case '>':
        result += "&gt;";
        break;
      case '"':
        result += "&quot;";
        break;
      case '\'':
        result += "&#39;";
        break;
      default:
        result += c;
    }
  }
  return result;
}

std::string HtmlPage(std::string_view title, std::string_view body) {
  std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  // No network: the page may only use what it holds.
  page +=
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
      "style-src 'unsafe-inline'; script-src 'unsafe-inline'; img-src data:\">\n";
  page += "<title>" + HtmlEscape(title) + "</title>\n<style>\n" + kStyle + "</style>\n</head>\n";
  page += "<body>\n";
  page += body;
  page += "<script>\n";
  page += kScript;
  page += "</script>\n</body>\n</html>\n";
  return page;
}

std::string SortableTableStart(std::string_view sectionId, std::string_view heading,
                               std::string_view tableId,
                               std::initializer_list<std::string_view> headings) {
  std::string html =
      "<section id=\"" + std::string(sectionId) + "\">\n<h2>" + std::string(heading) + "</h2>\n";
  html += "<input class=\"filter\" type=\"search\" placeholder=\"Filter by name\" data-table=\"" +
          std::string(tableId) + "\">\n";
  html += "<table class=\"sortable\" id=\"" + std::string(tableId) + "\">\n<thead><tr>";
  for (std::string_view name : headings) html += "<th>" + std::string(name) + "</th>";
  return html + "</tr></thead>\n<tbody>\n";
}

std::string NumberCell(std::int64_t value) {
  const std::string text = std::to_string(value);
  return "<td data-v=\"" + text + "\">" + text + "</td>";
}

std::string Percent(std::int64_t part, std::int64_t whole) {
  if (whole <= 0) return "0.0";
  const std::int64_t tenths = (part * 1000 + whole / 2) / whole;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace ravelin
