// The uses graph in GraphML, written with pugixml (a build without it cannot write GraphML).
#ifdef RAVELIN_HAVE_PUGIXML
#include <pugixml.hpp>
#endif
#include <sstream>

#include "common/Error.h"
#include "units/GraphExport.h"

namespace ravelin {

#ifndef RAVELIN_HAVE_PUGIXML
std::string RenderGraphMl(const UsesGraphRecords&) {
  throw GeneralError("GraphML is not written by this build (no XML library)");
}
#else

namespace {

struct Key {
  const char* id;
  const char* domain;  // "node" or "edge"
  const char* type;
};

constexpr Key kKeys[] = {
    {"label", "node", "string"},   {"file", "node", "string"},    {"resolved", "node", "boolean"},
    {"size", "node", "long"},      {"fanIn", "node", "int"},      {"fanOut", "node", "int"},
    {"cycleGroup", "node", "int"}, {"section", "edge", "string"}, {"cycle", "edge", "boolean"},
};

void Data(pugi::xml_node element, const char* key, const std::string& value) {
  pugi::xml_node data = element.append_child("data");
  data.append_attribute("key") = key;
  data.text() = value.c_str();
}

}  // namespace

std::string RenderGraphMl(const UsesGraphRecords& graph) {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node root = document.append_child("graphml");
  root.append_attribute("xmlns") = "http://graphml.graphdrawing.org/xmlns";
  root.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
  root.append_attribute("xsi:schemaLocation") =
      "http://graphml.graphdrawing.org/xmlns http://graphml.graphdrawing.org/xmlns/1.0/graphml.xsd";
  for (const Key& key : kKeys) {
    pugi::xml_node element = root.append_child("key");
    element.append_attribute("id") = key.id;
    element.append_attribute("for") = key.domain;
    element.append_attribute("attr.name") = key.id;
    element.append_attribute("attr.type") = key.type;
  }
  pugi::xml_node g = root.append_child("graph");
  g.append_attribute("id") = "uses";
  g.append_attribute("edgedefault") = "directed";

  const UnitRecords& records = graph.records;
  for (std::size_t unit = 0; unit < records.units.size(); ++unit) {
    const UnitRecord& record = records.units[unit];
    const UnitFigures& figures = graph.cycles.units[unit];
    pugi::xml_node node = g.append_child("node");
    node.append_attribute("id") = NodeId(unit).c_str();
    Data(node, "label", ReadableUtf8(record.name));
    if (record.found) Data(node, "file", ReadableUtf8(record.entry));
    Data(node, "resolved", record.found ? "true" : "false");
    if (record.found) Data(node, "size", std::to_string(record.size));
    Data(node, "fanIn", std::to_string(figures.fanIn));
    Data(node, "fanOut", std::to_string(figures.fanOut));
    if (figures.group != kNoGroup) Data(node, "cycleGroup", std::to_string(figures.group + 1));
  }
  const UsesGraph& uses = graph.graph;
  for (std::uint32_t e = 0; e < uses.UseCount(); ++e) {
    const UsesEdge& use = uses.Use(e);
    pugi::xml_node edge = g.append_child("edge");
    edge.append_attribute("id") = ("e" + std::to_string(e + 1)).c_str();
    edge.append_attribute("source") = NodeId(use.from).c_str();
    edge.append_attribute("target") = NodeId(use.to).c_str();
    Data(edge, "section", SectionName(use.section));
    Data(edge, "cycle", graph.cycles.IsCycleUse(uses, e) ? "true" : "false");
  }
  std::ostringstream text;
  document.save(text, "  ", pugi::format_default, pugi::encoding_utf8);
  return text.str();
}

#endif

}  // namespace ravelin
