// nodalis-cli — the headless face of Nodalis: runs the pipeline of the main
// window (date or Saros choice, eclipse steps, lunar theory, canon, ecliptic
// north) and prints the series as the main window's table (UTF-8), as CSV or
// as JSON.
//
// Exit codes: 0 success; 1 the series cannot be made (Saros number not
// reached, canon file unusable, date outside the supported range), or the
// output or the diagram file cannot be written; 2 bad arguments (the
// --diagram file name included, checked before anything is computed).
//
// File names (--canon, --diagram) are used as the bytes given; only the
// texts shown are converted.
#include <cerrno>
#include <cstdio>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/CanonParse.h"
#include "app/cli/CliArgs.h"
#include "app/core/SarosSearch.h"
#include "app/core/SeriesState.h"
#include "app/base/Utils.h"
#ifdef NODALIS_HAVE_DRAW
#include "app/cli/DiagramLoader.h"
#endif

using namespace nodalis;

namespace {

const char* const USAGE =
    "Aufruf: nodalis-cli [--jd JD | --date YYYY-MM-DD[THH:MM[:SS]]] [--saros N] [--next|--prev]\n"
    "                    [--lunar auto|elp2000|de404] [--canon DATEI] [--ecliptic-north]\n"
    "                    [--format table|csv|json] [--reference JD]\n"
    "                    [--diagram DATEI [--dpi 96|300|600] [--tracks]]\n"
    "Zeiten sind TDT; Kalenderdaten vor dem 15.10.1582 julianisch.\n";

enum class Format { Table, Csv, Json };

// Everything the options set; read by Run().
struct CliState {
  bool has_start = false;
  long double start_jd = 0;
  bool has_saros = false;
  int32_t saros = 0;
  int steps = 0;  // +1 per --next, -1 per --prev
  RecomputeSettings settings;
  std::string canon_path;  // the file system's bytes
  bool ecliptic_north = false;
  Format format = Format::Table;
  bool has_reference = false;
  long double reference_jd = 0;
  bool help = false;
  std::string diagram_path;  // the file system's bytes; .bmp, .png, .pdf or .svg
  int diagram_dpi = 96;
  bool has_dpi = false;
  bool tracks = false;
};

struct Option {
  const char* name;
  const char* value_name;  // nullptr: a flag without value
  // Applies the option to its value as given (bytes); returns an error text
  // (Windows-1252) or "" on success.
  std::function<std::string(CliState&, const std::string&)> apply;
};

// An argument as text to show in a message.
std::string Shown(const std::string& v) { return FileNameText(v); }

std::string SetStart(CliState& s, long double jd) {
  if (s.has_start) return "--jd und --date schlie\xDF" "en einander aus";
  s.has_start = true;
  s.start_jd = jd;
  return "";
}

// The options of nodalis-cli.  New options go into this table.
const std::vector<Option>& Options() {
  static const std::vector<Option> table = {
      {"--jd", "JD",
       [](CliState& s, const std::string& v) -> std::string {
         long double jd;
         if (!ParseCliReal(v, jd)) return "--jd erwartet eine Zahl: " + Shown(v);
         if (!JDSupported(jd)) return JDRangeText();
         return SetStart(s, jd);
       }},
      {"--date", "DATUM",
       [](CliState& s, const std::string& v) -> std::string {
         long double jd;
         bool outOfRange = false;
         if (!ParseCliDate(v, jd, &outOfRange))
           return outOfRange ? JDRangeText()
                             : "ung\xFCltiges Datum (YYYY-MM-DD[THH:MM[:SS]]): " + Shown(v);
         return SetStart(s, jd);
       }},
      {"--saros", "N",
       [](CliState& s, const std::string& v) -> std::string {
         if (!ParseCliInt(v, s.saros)) return "--saros erwartet eine ganze Zahl: " + Shown(v);
         s.has_saros = true;
         return "";
       }},
      {"--next", nullptr, [](CliState& s, const std::string&) { ++s.steps; return std::string(); }},
      {"--prev", nullptr, [](CliState& s, const std::string&) { --s.steps; return std::string(); }},
      {"--lunar", "auto|elp2000|de404",
       [](CliState& s, const std::string& v) -> std::string {
         if (v == "auto") s.settings.Lunar = LunarMode::Auto;
         else if (v == "elp2000") s.settings.Lunar = LunarMode::ELP2000;
         else if (v == "de404") s.settings.Lunar = LunarMode::DE404;
         else return "--lunar erwartet auto, elp2000 oder de404: " + Shown(v);
         return "";
       }},
      {"--canon", "DATEI",
       [](CliState& s, const std::string& v) -> std::string {
         if (v.empty()) return "--canon erwartet einen Dateinamen";
         s.canon_path = v;
         s.settings.Canon = true;
         return "";
       }},
      {"--ecliptic-north", nullptr,
       [](CliState& s, const std::string&) { s.ecliptic_north = true; return std::string(); }},
      {"--format", "table|csv|json",
       [](CliState& s, const std::string& v) -> std::string {
         if (v == "table") s.format = Format::Table;
         else if (v == "csv") s.format = Format::Csv;
         else if (v == "json") s.format = Format::Json;
         else return "--format erwartet table, csv oder json: " + Shown(v);
         return "";
       }},
      {"--reference", "JD",
       [](CliState& s, const std::string& v) -> std::string {
         if (!ParseCliReal(v, s.reference_jd)) return "--reference erwartet eine Zahl: " + Shown(v);
         if (!JDSupported(s.reference_jd)) return JDRangeText();
         s.has_reference = true;
         return "";
       }},
      {"--diagram", "DATEI",
       [](CliState& s, const std::string& v) -> std::string {
         if (v.empty()) return "--diagram erwartet einen Dateinamen";
         s.diagram_path = v;
         return "";
       }},
      {"--dpi", "96|300|600",
       [](CliState& s, const std::string& v) -> std::string {
         s.has_dpi = true;
         if (v == "96") s.diagram_dpi = 96;
         else if (v == "300") s.diagram_dpi = 300;
         else if (v == "600") s.diagram_dpi = 600;
         else return "--dpi erwartet 96, 300 oder 600: " + Shown(v);
         return "";
       }},
      {"--tracks", nullptr,
       [](CliState& s, const std::string&) { s.tracks = true; return std::string(); }},
      {"--help", nullptr, [](CliState& s, const std::string&) { s.help = true; return std::string(); }},
  };
  return table;
}

// Parses argv; returns an error text (Windows-1252) or "".
std::string ParseArgs(int argc, char** argv, CliState& s) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string value;
    bool has_inline = false;
    const std::size_t eq = arg.find('=');
    if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      has_inline = true;
    }
    const Option* opt = nullptr;
    for (const Option& o : Options())
      if (arg == o.name) opt = &o;
    if (!opt) return "unbekannte Option: " + Shown(arg);
    if (opt->value_name) {
      if (!has_inline) {
        if (i + 1 >= argc) return std::string(opt->name) + " erwartet " + opt->value_name;
        value = argv[++i];
      }
    } else if (has_inline) {
      return std::string(opt->name) + " hat keinen Wert";
    }
    const std::string err = opt->apply(s, value);
    if (!err.empty()) return err;
  }
  if (s.steps > 100 || s.steps < -100) return "h\xF6" "chstens 100 Schritte --next/--prev";
  if (s.diagram_path.empty() && (s.has_dpi || s.tracks))
    return "--dpi und --tracks gelten nur mit --diagram";
  if (!s.diagram_path.empty()) return CheckDiagramPath(s.diagram_path);
  return "";
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') { out += '\\'; out += static_cast<char>(c); }
    else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else out += static_cast<char>(c);
  }
  return out + "\"";
}

const char* MarkerWord(RowMarker m) {
  switch (m) {
    case RowMarker::Aktuelle: return "aktuelle";
    case RowMarker::Letzte: return "letzte";
    case RowMarker::Naechste: return "n\xC3\xA4" "chste";  // UTF-8
    default: return "";
  }
}

struct MemberOut {
  std::string no, jd, date, time, gamma, umbra, alt, type_code, type, saros, marker;
};

std::vector<MemberOut> Members(bool canon) {
  std::vector<MemberOut> out;
  for (const TableRow& r : SeriesTableRows(SeriesList, canon, ReferenceJD)) {
    MemberOut m;
    m.no = std::to_string(r.No);
    m.jd = RealToStr(1, 6, r.Rec.JDMax);
    JDToIsoDateTime(r.Rec.JDMax, m.date, m.time);
    m.gamma = RealToStr(1, 3, r.Rec.Gamma);
    m.umbra = RealToStr(1, 0, r.UmbraKm);
    m.alt = r.HasElevation ? RealToStr(1, 1, r.ElevationDeg) : "";
    m.type_code = std::to_string(r.Rec.EclType);
    m.type = Cp1252ToUtf8(r.TypeText);
    m.saros = std::to_string(r.Rec.SarosNo);
    m.marker = MarkerWord(r.Marker);
    out.push_back(std::move(m));
  }
  return out;
}

void PrintCsv(std::ostream& os, bool canon) {
  os << "no,jd_tdt,date,time_tdt,gamma,umbra_km,sun_alt_deg,type_code,type,saros,marker\n";
  for (const MemberOut& m : Members(canon))
    os << m.no << ',' << m.jd << ',' << m.date << ',' << m.time << ',' << m.gamma << ','
       << m.umbra << ',' << m.alt << ',' << m.type_code << ',' << m.type << ',' << m.saros
       << ',' << m.marker << '\n';
}

void PrintJson(std::ostream& os, const std::vector<std::string>& memo, int32_t saros,
               bool elp, bool canon) {
  // Title lines: the table text before the column header.
  os << "{\n  \"saros\": " << saros << ",\n  \"title\": " << JsonString(Cp1252ToUtf8(TitleCaption))
     << ",\n  \"lunar\": \"" << (elp ? "elp2000" : "de404") << "\",\n  \"canon\": "
     << (canon ? "true" : "false") << ",\n  \"reference_jd\": " << RealToStr(1, 6, ReferenceJD)
     << ",\n  \"title_lines\": [";
  bool first = true;
  for (const std::string& line : memo) {
    if (line.rfind("No ", 0) == 0) break;
    os << (first ? "\n    " : ",\n    ") << JsonString(Cp1252ToUtf8(line));
    first = false;
  }
  os << "\n  ],\n  \"members\": [";
  first = true;
  for (const MemberOut& m : Members(canon)) {
    os << (first ? "\n" : ",\n") << "    {\"no\": " << m.no << ", \"jd_tdt\": " << m.jd
       << ", \"date\": " << JsonString(m.date) << ", \"time_tdt\": " << JsonString(m.time)
       << ", \"gamma\": " << m.gamma << ", \"umbra_km\": " << m.umbra
       << ", \"sun_alt_deg\": " << (m.alt.empty() ? "null" : m.alt)
       << ", \"type_code\": " << m.type_code << ", \"type\": " << JsonString(m.type)
       << ", \"saros\": " << m.saros << ", \"marker\": " << JsonString(m.marker) << "}";
    first = false;
  }
  os << "\n  ]\n}\n";
}

int FailUtf8(int code, const std::string& utf8) {
  std::cerr << "nodalis-cli: " << utf8 << '\n';
  if (code == 2) std::cerr << Cp1252ToUtf8(USAGE);
  return code;
}

int Fail(int code, const std::string& cp1252) { return FailUtf8(code, Cp1252ToUtf8(cp1252)); }

// Writes Text to the standard output; false (with a message) when it could
// not be written completely (a full disk, /dev/full, a closed pipe).
bool WriteOut(const std::string& Text) {
  errno = 0;
  const bool ok = std::fwrite(Text.data(), 1, Text.size(), stdout) == Text.size() &&
                  std::fflush(stdout) == 0;
  if (!ok)
    Fail(1, std::string("Ausgabe konnte nicht geschrieben werden") +
                (errno == ENOSPC ? " (kein Platz auf dem Ger\xE4t)" : ""));
  return ok;
}

int Run(const CliState& s) {
  BesselRec current;
  ReferenceJD = NowJD(0);
  SelectedJD = ReferenceJD;
  bool backward = false;
  if (!s.canon_path.empty()) CanonPath = s.canon_path;
  EkliptikalNordChecked = s.ecliptic_north;

  if (s.has_start) {  // as the date dialog
    SelectedJD = s.start_jd;
    ReferenceJD = CalcEclipse(1, true, current, SelectedJD) > 0 ? SelectedJD : NowJD(0);
  }
  if (s.has_saros) {  // as "Gehe zu:"
    long double jd = SelectedJD;
    if (!FindEclipseNewMoon(jd, false)) return Fail(1, JDRangeText());
    CalcEclipse(1, true, current, jd);
    int32_t currentSaros = current.SarosNo;
    SelectedJD = jd;
    std::vector<std::string> progress;
    if (!SarosSearch(s.saros, currentSaros, progress)) return Fail(1, progress.back());
    ReferenceJD = NowJD(0);
  }
  for (int k = 0; k != s.steps; k += s.steps > 0 ? 1 : -1) {  // as the eclipse buttons
    const bool back = s.steps < 0;
    SelectedJD += back ? -20.0L : 20.0L;
    backward = back;
    if (!FindEclipseNewMoon(SelectedJD, backward)) return Fail(1, JDRangeText());
    ReferenceJD = CalcEclipse(1, true, current, SelectedJD) > 0 ? current.JDMax : NowJD(0);
  }
  if (s.has_reference) ReferenceJD = s.reference_jd;

  RecomputeSettings settings = s.settings;
  settings.Backward = backward;
  std::vector<std::string> memo;
  int32_t saros = 0;
  bool elp = false;
  std::string message;
  if (!RecomputeSeries(settings, memo, saros, elp, message)) return Fail(1, message);

  std::ostringstream os;
  switch (s.format) {
    case Format::Table:
      for (const std::string& line : memo) os << Cp1252ToUtf8(line) << '\n';
      break;
    case Format::Csv: PrintCsv(os, settings.Canon); break;
    case Format::Json: PrintJson(os, memo, saros, elp, settings.Canon); break;
  }
  if (!WriteOut(os.str())) return 1;
  if (!s.diagram_path.empty()) {  // the graph window's picture into a file
#ifdef NODALIS_HAVE_DRAW
    ShowSchattenbahnChecked = s.tracks;
    std::string error;
    if (!WriteSeriesDiagramThroughModule(s.diagram_path, s.diagram_dpi, &error))
      return FailUtf8(1, error);
#else
    return Fail(1, "--diagram: ohne Grafik (Qt) gebaut");
#endif
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CliState s;
  const std::string err = ParseArgs(argc, argv, s);
  if (!err.empty()) return Fail(2, err);
  if (s.help) return WriteOut(Cp1252ToUtf8(USAGE)) ? 0 : 1;
  return Run(s);
}
