// Binary forms built with FormWriter for the seed corpus of the converter's fuzz target (the
// tests keep the all-values form, written by make_form_seeds, as data).
#pragma once

#include <string>

#include "FormWriter.h"

namespace ravelin::seeds {

/// A form that holds every value type, every component flag, nested lists, collections with
/// and without item indexes, wrapped strings and multi-line binary data.
inline std::string AllValuesForm() {
  std::string icon;
  for (int i = 0; i < 40; ++i) icon.push_back(static_cast<char>(i));
  FormWriter w("FORM1");
  w.Object("TForm1", "Form1");
  w.Prop("Left").Int(192);
  w.Prop("Top").Int(-5);
  w.Prop("Tag").Int(100000);
  w.Prop("Caption").String("Main window");
  w.Prop("Color").Ident("clBtnFace");
  w.Prop("Visible").False();
  w.Prop("Enabled").True();
  w.Prop("DataField").Null();
  w.Prop("PopupMenu").Nil();
  w.Prop("BorderIcons").Set({"biSystemMenu", "biMinimize"});
  w.Prop("Font.Style").Set({});
  w.Prop("Scale").Extended(1.5);
  w.Prop("Ratio").Single(0.25f);
  w.Prop("Price").Currency(125000);
  w.Prop("Stamp").Date(36526.5);
  w.Prop("Big").Int64(9007199254740993LL);
  w.Prop("Hint").LString("It's\r\ndone");
  w.Prop("LongCaption")
      .LString("abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghij");
  w.Prop("Title").WString(u"Gr\u00FC\u00DFe\u20AC");
  w.Prop("EmptyText").String("");
  w.Prop("Lines.Strings").List().String("one").String("two").End();
  w.Prop("Empty").List().End();
  w.Prop("Matrix").List().List().Int(1).Int(2).End().List().End().End();
  w.Prop("Columns").Collection();
  w.Item().Prop("Caption").String("First").Prop("Width").Int(50).End();
  w.Item(3).Prop("Caption").String("Second").End();
  w.End();
  w.Prop("NoItems").Collection().End();
  w.Prop("Data").Binary("\x01\x02\xAB\xFF");
  w.Prop("Icon.Data").Binary(icon);
  w.End();  // properties of Form1
  w.Object("TPanel", "Panel1", FormWriter::kInherited | FormWriter::kChildPos, 2);
  w.Prop("Align").Ident("alTop");
  w.End();
  w.Object("TFrame1", "Frame1", FormWriter::kInline).End().End();
  w.End();  // children of Panel1
  w.Object("TTimer", "").End().End();
  w.End();  // children of Form1
  return w.Bytes();
}

/// The smallest form: one component without properties or children.
inline std::string MinimalForm() {
  FormWriter w;
  w.Object("TForm", "Form1").End().End();
  return w.Bytes();
}

}  // namespace ravelin::seeds
