// Writes binary forms of our own: the seed corpus of the converter's fuzz target and the binary
// form of the demo project.
//   make_form_seeds <corpus folder> [<demo folder>]
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "FormWriter.h"
#include "SampleForms.h"

namespace {

using ravelin::seeds::FormWriter;

/// A realistic window as the demo project's binary form: controls, a status bar with a
/// collection of panels, a memo with a list of lines, a glyph as binary data.
std::string DemoBinaryForm() {
  std::string glyph;
  for (int i = 0; i < 118; ++i) glyph.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
  FormWriter w("TFRMBINARY");
  w.Object("TfrmBinary", "frmBinary");
  w.Prop("Left").Int(245).Prop("Top").Int(130);
  w.Prop("BorderStyle").Ident("bsDialog");
  w.Prop("Caption").String("Binary form of the demo project: written by our own form generator");
  w.Prop("ClientHeight").Int(320).Prop("ClientWidth").Int(480);
  w.Prop("Color").Ident("clBtnFace");
  w.Prop("Font.Charset").Ident("DEFAULT_CHARSET");
  w.Prop("Font.Height").Int(-11);
  w.Prop("Font.Name").String("MS Sans Serif");
  w.Prop("Font.Style").Set({});
  w.Prop("Position").Ident("poScreenCenter");
  w.Prop("PixelsPerInch").Int(96);
  w.Prop("TextHeight").Int(13);
  w.End();
  w.Object("TLabel", "lblTitle");
  w.Prop("Left").Int(8).Prop("Top").Int(8).Prop("Width").Int(200).Prop("Height").Int(13);
  w.Prop("Caption").String("Don't panic: this label's caption holds apostrophes");
  w.Prop("Font.Style").Set({"fsBold", "fsUnderline"});
  w.End().End();
  w.Object("TMemo", "memNotes");
  w.Prop("Left").Int(8).Prop("Top").Int(32).Prop("Width").Int(464).Prop("Height").Int(200);
  w.Prop("Lines.Strings").List().String("First line").String("Second line").String("").End();
  w.Prop("ScrollBars").Ident("ssVertical");
  w.Prop("TabOrder").Int(0);
  w.End().End();
  w.Object("TSpeedButton", "btnGlyph");
  w.Prop("Left").Int(8).Prop("Top").Int(240);
  w.Prop("Glyph.Data").Binary(glyph);
  w.End().End();
  w.Object("TStatusBar", "sbrMain");
  w.Prop("Panels").Collection();
  w.Item().Prop("Text").String("Ready").Prop("Width").Int(120).End();
  w.Item().Prop("Width").Int(50).End();
  w.End();
  w.Prop("SimplePanel").False();
  w.End().End();
  w.Object("TTimer", "tmrTick").Prop("Interval").Int(1000).Prop("Enabled").False().End().End();
  w.End();  // children of frmBinary
  return w.Bytes();
}

/// Small forms that each stress one part of the format.
std::vector<std::pair<std::string, std::string>> Seeds() {
  std::vector<std::pair<std::string, std::string>> seeds;
  seeds.emplace_back("all_values.dfm", ravelin::seeds::AllValuesForm());
  seeds.emplace_back("minimal.dfm", ravelin::seeds::MinimalForm());
  seeds.emplace_back("demo_binary.dfm", DemoBinaryForm());
  {
    FormWriter w;
    w.Object("TForm", "F")
        .Prop("Long")
        .LString(std::string(130, 'x') + "'\r\n" + std::string(70, 'y'));
    w.Prop("Wide").WString(std::u16string(70, u'\u0416') + u"'abc");
    w.Prop("Short").String(std::string(64, 'z'));
    w.End().End();
    seeds.emplace_back("strings.dfm", w.Bytes());
  }
  {
    FormWriter w;
    w.Object("TForm", "F");
    w.Prop("Extended").Extended(0xFFFFFFFFFFFFFFFFull, 0x7FFE);
    w.Prop("Denormal").Extended(1, 0);
    w.Prop("Inf").Extended(0x8000000000000000ull, 0xFFFF);
    w.Prop("Single").Single(0.1f);
    w.Prop("Currency").Currency(-123456789);
    w.Prop("Date").Date(36526.75);
    w.Prop("Int64").Int64(-1);
    w.End().End();
    seeds.emplace_back("reals.dfm", w.Bytes());
  }
  {
    FormWriter w;
    w.Object("TForm", "F").Prop("Items").Collection();
    w.Item(0).Prop("A").Collection().Item(1).Prop("B").List().Int(1).End().End().End().End();
    w.Item().End();
    w.End();
    w.End().End();
    seeds.emplace_back("collections.dfm", w.Bytes());
  }
  {
    FormWriter w;
    w.Object("TForm", "F").End();
    w.Object("TPanel", "P", FormWriter::kInherited | FormWriter::kChildPos, 300).End();
    w.Object("TFrame", "Fr", FormWriter::kInline).End().End();
    w.End();
    w.Object("TTimer", "", FormWriter::kChildPos, -2).End().End();
    w.End();
    seeds.emplace_back("flags.dfm", w.Bytes());
  }
  {
    FormWriter w;
    for (int i = 0; i < 40; ++i) w.Object("TPanel", "P" + std::to_string(i)).End();
    for (int i = 0; i < 40; ++i) w.End();
    seeds.emplace_back("nested.dfm", w.Bytes());
  }
  {
    FormWriter w;
    w.Object("TImage", "I").Prop("Picture.Data").Binary(std::string(100, '\x7F')).End().End();
    seeds.emplace_back("binary.dfm", w.Bytes());
  }
  return seeds;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  out.close();
  if (!out) std::cerr << "cannot write " << path << "\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: make_form_seeds <corpus folder> [<demo folder>]\n";
    return 2;
  }
  bool ok = true;
  for (const auto& [name, bytes] : Seeds())
    ok &= WriteFile(std::string(argv[1]) + "/" + name, bytes);
  if (argc == 3) ok &= WriteFile(std::string(argv[2]) + "/DemoBinary.dfm", DemoBinaryForm());
  return ok ? 0 : 1;
}
