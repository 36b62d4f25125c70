// nodalis-cli — the main window's commands from the command line. Each
// command option is one way through the main window (a start with a Julian
// date, a date chosen in the date dialog, the eclipse and Saros steps,
// "Gehe zu:"); they run in the order given through the same commands as the
// window (SeriesCommands), after the window's start-up, and the tool prints
// the window's text after the last one: its table (UTF-8) byte for byte, or
// the same rows as CSV or JSON. The boxes (lunar theory, canon, orientation)
// are set before the first command.
//
// Exit codes: 0 success; 1 a command writes no table (Saros number not
// reached, canon file unusable or without the series, date outside the
// supported range), or the output or the diagram file cannot be written
// (quietly for a closed pipe); 2 bad arguments (the --diagram file name and
// the --catalog years included, checked before anything is computed).
// --help wins over every other argument that reads.
//
// --catalog is no way through the window: it writes every solar eclipse of
// a span of years in the CSV layout of the NASA Five Millennium Canon
// (EclipseCatalogCsv), with a progress line on a terminal.
//
// --place LAT LON [HEIGHT] adds the local circumstances of each member at
// that place (LocalTable): columns after the existing ones in csv and
// json, a block after the table; with --catalog only the eclipses seen
// from there, with the columns appended.
//
// File names (--canon, --diagram, --map, --paths) are used as the bytes given; only the
// texts shown are converted.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/base/Utils.h"
#include "app/cli/CliArgs.h"
#include "app/core/CanonParse.h"
#include "app/core/EclipseCatalog.h"
#include "app/core/ElementsTable.h"
#include "app/core/LocalPlace.h"
#include "app/core/LocalTable.h"
#include "app/core/PathsFiles.h"
#include "app/core/SeriesCommands.h"
#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "astro/Circumstances.h"
#include "astro/TIMLIB.h"
#include "app/cli/DiagramLoader.h"

using namespace nodalis;

namespace {

enum class Format { Table, Csv, Json };

// One command of the main window, in the order given.
struct Command {
  enum Kind { StartJD, Date, DateUT, Next, Prev, SarosStep, GoTo } kind;
  long double jd = 0;  // StartJD, Date, DateUT
  int32_t n = 0;       // SarosStep (the button's tag), GoTo (the Saros number)
};

// At most this many commands (each one builds a series).
constexpr std::size_t MAX_COMMANDS = 100;

// Everything the options set; read by Run().
struct CliState {
  std::vector<Command> commands;
  LunarMode lunar = LunarMode::Auto;
  std::string canon_path;  // the file system's bytes
  bool ecliptic_north = false;
  std::optional<long double> now_jd;
  Format format = Format::Table;
  std::optional<long double> reference_jd;
  bool help = false;
  std::string diagram_path;  // the file system's bytes; .bmp, .png, .pdf or .svg
  int diagram_dpi = 96;
  bool has_dpi = false;
  bool tracks = false;
  DeltaTModel delta_t = DeltaTModel::Nodalis;
  bool has_delta_t = false;
  bool has_format = false;
  int catalogs = 0;  // how often --catalog, --catalog-elements, --catalog-paths were given
  int32_t catalog_from = 0, catalog_to = 0;  // years, astronomical numbering
  // What a catalogue writes: the canon's catalogue rows, the polynomial
  // elements, or the paths into catalog_paths_file.
  enum class CatalogKind { Eclipses, Elements, Paths } catalog_kind = CatalogKind::Eclipses;
  std::string catalog_option = "--catalog";  // as given, for messages
  std::string catalog_paths_file;  // the file system's bytes; .geojson or .kml
  bool elements = false;           // --elements: the elements instead of the table
  std::string paths_file;          // --paths: the file system's bytes; .geojson or .kml
  std::string map_path;            // --map: the file system's bytes; .bmp, .png, .pdf or .svg
  std::optional<GeodeticPlace> place;  // --place: the local circumstances there
};

struct Option {
  const char* name;
  const char* value_name;  // nullptr: a flag without value
  // What the option does in the main window's terms (Windows-1252), for
  // --help; "" for an option listed with the one before it.
  const char* help;
  // Applies the option to its value as given (bytes); returns an error text
  // (Windows-1252) or "" on success.  An option of two values gets both,
  // separated by a NUL byte (which no argument can contain).
  std::function<std::string(CliState&, const std::string&)> apply;
  int values = 1;  // arguments after the option name (with value_name)
  // One more argument taken when there is one that is no option ("--...").
  bool optional_value = false;
};

// An argument as text to show in a message.
std::string Shown(const std::string& v) { return FileNameText(v); }

// A Julian date within the supported range.
std::string SupportedJD(const char* name, const std::string& v, long double& jd) {
  if (!ParseCliReal(v, jd)) return std::string(name) + " erwartet eine Zahl: " + Shown(v);
  return JDSupported(jd) ? "" : JDRangeText();
}
std::string SupportedJD(const char* name, const std::string& v, std::optional<long double>& jd) {
  long double value = 0;
  const std::string error = SupportedJD(name, v, value);
  if (error.empty()) jd = value;
  return error;
}

// A file name: any bytes but none.
std::string FileName(const char* name, const std::string& v, std::string& path) {
  if (v.empty()) return std::string(name) + " erwartet einen Dateinamen";
  path = v;
  return "";
}

// An output file's name: given once.  A second --map (--diagram, --paths)
// would replace the first, which would then never be written although the
// tool ends with success.
std::string OutputFileName(const char* name, const std::string& v, std::string& path) {
  if (!path.empty() && !v.empty())
    return std::string(name) + " nur einmal (die Datei " + Shown(path) + " w\xFCrde nicht geschrieben): " + Shown(v);
  return FileName(name, v, path);
}

// One of a few words, each standing for a value.
template <class T>
std::string Choose(const char* name, const std::string& v,
                   std::initializer_list<std::pair<const char*, T>> choices, T& target) {
  std::string words;
  std::size_t i = 0;
  for (const auto& [word, value] : choices) {
    if (v == word) {
      target = value;
      return "";
    }
    words += (i == 0 ? "" : i + 1 == choices.size() ? " oder " : ", ") + std::string(word);
    ++i;
  }
  return std::string(name) + " erwartet " + words + ": " + Shown(v);
}

std::string Add(CliState& s, Command c) {
  s.commands.push_back(c);
  return "";
}

// A value of --date or --date-ut: a Julian date, or calendar fields as the
// date dialog takes them in zone 0.
std::string DateCommand(CliState& s, Command::Kind kind, const char* name, const std::string& v) {
  long double jd;
  if (ParseCliReal(v, jd)) {
    jd = StrToReal(v);  // the dialog reads its Julian-date field with StrToReal
    if (!JDSupported(jd)) return JDRangeText();
  } else {
    bool outOfRange = false;
    if (!ParseCliDate(v, jd, &outOfRange))
      return outOfRange ? JDRangeText()
                        : std::string(name) + " erwartet YYYY-MM-DD[THH:MM[:SS]] oder ein Julianisches Datum: " +
                              Shown(v);
  }
  return Add(s, {kind, jd});
}

// The two years of --catalog, --catalog-elements or --catalog-paths
// ("FROM\0TO", then "\0FILE" for the paths), checked before anything is
// computed: whole numbers, in order, within the catalogue's years.
std::string CatalogYearsOption(CliState& s, const std::string& v, const char* name,
                               CliState::CatalogKind kind) {
  const std::size_t nul = v.find('\0');
  const std::string from = v.substr(0, nul), rest = nul == std::string::npos ? "" : v.substr(nul + 1);
  const std::size_t nul2 = rest.find('\0');
  const std::string to = rest.substr(0, nul2);
  ++s.catalogs;
  s.catalog_option = name;
  s.catalog_kind = kind;
  if (kind == CliState::CatalogKind::Paths) {
    s.catalog_paths_file = nul2 == std::string::npos ? "" : rest.substr(nul2 + 1);
    if (s.catalog_paths_file.empty()) return std::string(name) + " erwartet einen Dateinamen";
  }
  if (!ParseCliInt(from, s.catalog_from) || !ParseCliInt(to, s.catalog_to))
    return std::string(name) + " erwartet zwei ganze Jahreszahlen VON BIS: " + Shown(from) + " " + Shown(to);
  if (s.catalog_from > s.catalog_to)
    return std::string(name) + ": das Jahr VON liegt nach dem Jahr BIS: " + Shown(from) + " " + Shown(to);
  long double fromJD, toJD;
  if (!CatalogYears(s.catalog_from, s.catalog_to, fromJD, toJD))
    return std::string(name) + ": Jahre au\xDF" "erhalb des unterst\xFCtzten Bereichs (" +
           std::to_string(CATALOG_FIRST_YEAR) + " bis " + std::to_string(CATALOG_LAST_YEAR) +
           "): " + Shown(from) + " " + Shown(to);
  return "";
}

// The values of --place ("LAT\0LON" or "LAT\0LON\0HEIGHT").
std::string PlaceOption(CliState& s, const std::string& v) {
  std::vector<std::string> f(1);
  for (const char c : v) {
    if (c == '\0') f.emplace_back();
    else f.back() += c;
  }
  GeodeticPlace p;
  std::string error;
  if (f.size() < 2 || !ParsePlace(f[0], f[1], f.size() > 2 ? f[2] : "", p, error))
    return "--place: " + (error.empty() ? std::string("erwartet BREITE L\xC4NGE [H\xD6HE]") : error);
  s.place = p;
  return "";
}

// The extensions of --paths and --catalog-paths.
std::string CheckGeoFilePath(const std::string& Path) {
  return CheckOutputFilePath(Path, {"geojson", "kml"}, "(.geojson oder .kml)");
}

// The options of nodalis-cli, as --help lists them.  New options go into
// this table.
const std::vector<Option>& Options() {
  static const std::vector<Option> table = {
      {"--jd", "JD", "\"nodalis JD\": Start mit Julianischem Datum (\xFC" "ber 999999)",
       [](CliState& s, const std::string& v) {
         long double jd;
         std::string error = SupportedJD("--jd", v, jd);
         if (error.empty() && !(jd > COMMAND_LINE_MIN_JD))
           error = "--jd erwartet ein Julianisches Datum \xFC" "ber 999999 (fr\xFC" "here mit --date): " + Shown(v);
         return error.empty() ? Add(s, {Command::StartJD, jd}) : error;
       }},
      {"--date", "DATUM|JD",
       "\"&Datum\": Datum und Zeit (YYYY-MM-DD[THH:MM[:SS]]) oder\n"
       "\"Julianisches Datum\", \"TDT Ephemeridenzeit\" angekreuzt,\n"
       "\"&OK !\"",
       [](CliState& s, const std::string& v) { return DateCommand(s, Command::Date, "--date", v); }},
      {"--date-ut", "DATUM|JD",
       "wie --date, ohne \"TDT Ephemeridenzeit\": UT (\"UTC +\" 0,\n"
       "ohne Sommerzeit)",
       [](CliState& s, const std::string& v) { return DateCommand(s, Command::DateUT, "--date-ut", v); }},
      {"--next", nullptr, "\"+1\" neben \"Finsternis\"",
       [](CliState& s, const std::string&) { return Add(s, {Command::Next}); }},
      {"--prev", nullptr, "\"-1\" neben \"Finsternis\"",
       [](CliState& s, const std::string&) { return Add(s, {Command::Prev}); }},
      {"--saros-step", "K", "\"-2\" \"-1\" \"+1\" \"+2\" neben \"Saros\" (K = -2, -1, 1, 2)",
       [](CliState& s, const std::string& v) -> std::string {
         int32_t k;
         if (!ParseCliInt(v, k) || k == 0 || k < -2 || k > 2)
           return "--saros-step erwartet -2, -1, 1 oder 2: " + Shown(v);
         Command c{Command::SarosStep};
         c.n = k;
         return Add(s, c);
       }},
      {"--saros", "N", "N ins Saros-Feld, \"&Gehe zu:\"",
       [](CliState& s, const std::string& v) -> std::string {
         int32_t n;
         if (!ParseCliInt(v, n) || n < SAROS_FIELD_MIN || n > SAROS_FIELD_MAX)
           return "--saros erwartet eine ganze Zahl von " + ShortRealToStr(SAROS_FIELD_MIN) + " bis " +
                  ShortRealToStr(SAROS_FIELD_MAX) + ": " + Shown(v);
         Command c{Command::GoTo};
         c.n = n;
         return Add(s, c);
       }},
      {"--lunar", "auto|elp2000|de404",
       "\"Auto\", oder ohne \"Auto\" \"ELP2000\" bzw. \"DE404\"",
       [](CliState& s, const std::string& v) {
         return Choose<LunarMode>("--lunar", v,
                                  {{"auto", LunarMode::Auto}, {"elp2000", LunarMode::ELP2000},
                                   {"de404", LunarMode::DE404}},
                                  s.lunar);
       }},
      {"--canon", "DATEI",
       "Canon-Datei (\"Lorvan-Canon\"), \"Canon\" angekreuzt",
       [](CliState& s, const std::string& v) { return FileName("--canon", v, s.canon_path); }},
      {"--ecliptic-north", nullptr, "\"Orientierung Ekliptikal Nord\" angekreuzt",
       [](CliState& s, const std::string&) { s.ecliptic_north = true; return std::string(); }},
      {"--now", "JD", "die Computeruhr zeigt JD (sonst die Systemzeit)",
       [](CliState& s, const std::string& v) { return SupportedJD("--now", v, s.now_jd); }},
      {"--delta-t", "nodalis|espenak-meeus-2006",
       "kein Weg des Fensters: Delta T der Spalten von\n"
       "csv und json, von --elements, --paths, --map,\n"
       "--place und --catalog: nodalis (das des\n"
       "Programms, Standard) oder espenak-meeus-2006\n"
       "(das des NASA-Canons)",
       [](CliState& s, const std::string& v) {
         s.has_delta_t = true;
         return Choose<DeltaTModel>("--delta-t", v,
                                    {{DeltaTModelName(DeltaTModel::Nodalis), DeltaTModel::Nodalis},
                                     {DeltaTModelName(DeltaTModel::EspenakMeeus2006),
                                      DeltaTModel::EspenakMeeus2006}},
                                    s.delta_t);
       }},
      {"--format", "table|csv|json",
       "table: der Text des Fensters (Standard);\n"
       "csv, json: seine Zeilen als Daten, dazu die\n"
       "Umst\xE4nde des Maximums",
       [](CliState& s, const std::string& v) {
         s.has_format = true;
         return Choose<Format>("--format", v,
                               {{"table", Format::Table}, {"csv", Format::Csv}, {"json", Format::Json}},
                               s.format);
       }},
      {"--reference", "JD",
       "kein Weg des Fensters: Bezugszeitpunkt der\n"
       "Markierungen und von \"Erstellt am\"",
       [](CliState& s, const std::string& v) { return SupportedJD("--reference", v, s.reference_jd); }},
      {"--diagram", "DATEI",
       "das Bild des Grafikfensters wie \"&Speichern\"\n"
       "(.bmp, .png; .pdf, .svg), Seite 127 mm breit",
       [](CliState& s, const std::string& v) { return OutputFileName("--diagram", v, s.diagram_path); }},
      {"--map", "DATEI",
       "das Bild des Kartenfensters (\"&Karte\"): die Pfade\n"
       "der Mitglieder auf der Weltkarte (.bmp, .png;\n"
       ".pdf, .svg), Seite 254 mm breit, mit --delta-t",
       [](CliState& s, const std::string& v) { return OutputFileName("--map", v, s.map_path); }},
      {"--dpi", "96|300|600", "mit --diagram oder --map: \"&Bildschirmaufl\xF6sung\",\n"
       "\"&HiRes 300 dpi\", \"&XXL 600 dpi\"",
       [](CliState& s, const std::string& v) {
         s.has_dpi = true;
         return Choose<int>("--dpi", v, {{"96", 96}, {"300", 300}, {"600", 600}}, s.diagram_dpi);
       }},
      {"--tracks", nullptr, "mit --diagram: \"Schattenbahn zeigen\" angekreuzt",
       [](CliState& s, const std::string&) { s.tracks = true; return std::string(); }},
      {"--elements", nullptr,
       "kein Weg des Fensters: statt der Tabelle die\n"
       "polynomialen Bessel-Elemente der Mitglieder im\n"
       "Format des NASA-Canons (mit --delta-t)",
       [](CliState& s, const std::string&) { s.elements = true; return std::string(); }},
      {"--paths", "DATEI",
       "kein Weg des Fensters: Zentrallinie, Grenzen und\n"
       "Pfad jedes Mitglieds als GeoJSON (.geojson) oder\n"
       "KML (.kml), mit --delta-t",
       [](CliState& s, const std::string& v) { return OutputFileName("--paths", v, s.paths_file); }},
      {"--place", "BREITE L\xC4NGE [H\xD6HE]",
       "kein Weg des Fensters: die \xF6rtlichen Umst\xE4nde\n"
       "jedes Mitglieds dort (Kontakte, Maximum, Gr\xF6\xDF" "e,\n"
       "Bedeckung, Dauer; mit --delta-t): csv und json\n"
       "h\xE4ngen Spalten an, table einen Block der dort\n"
       "sichtbaren Mitglieder; mit --catalog nur die dort\n"
       "sichtbaren Finsternisse. Grad als Zahl oder 48.2N\n"
       "16.4E (O), H\xF6he in m \xFC" "ber dem Ellipsoid (0)",
       [](CliState& s, const std::string& v) { return PlaceOption(s, v); }, 2, true},
      {"--catalog", "VON BIS",
       "kein Weg des Fensters: alle Sonnenfinsternisse\n"
       "der Jahre VON bis BIS als CSV im Format des\n"
       "NASA-Canons; mit --lunar, --delta-t, --place und\n"
       "--saros N (nur diese Serien)",
       [](CliState& s, const std::string& v) {
         return CatalogYearsOption(s, v, "--catalog", CliState::CatalogKind::Eclipses);
       },
       2},
      {"--catalog-elements", "VON BIS",
       "kein Weg des Fensters: die Bessel-Elemente aller\n"
       "Sonnenfinsternisse der Jahre VON bis BIS (wie --catalog)",
       [](CliState& s, const std::string& v) {
         return CatalogYearsOption(s, v, "--catalog-elements", CliState::CatalogKind::Elements);
       },
       2},
      {"--catalog-paths", "VON BIS DATEI",
       "kein Weg des Fensters: Zentrallinie und Grenzen des\n"
       "Kernschattens aller Finsternisse der Jahre VON bis\n"
       "BIS als GeoJSON oder KML (wie --catalog)",
       [](CliState& s, const std::string& v) {
         return CatalogYearsOption(s, v, "--catalog-paths", CliState::CatalogKind::Paths);
       },
       3},
      {"--help", nullptr, "diese Hilfe",
       [](CliState& s, const std::string&) { s.help = true; return std::string(); }},
  };
  return table;
}

// --help (Windows-1252): every option with the way through the main window
// it takes.
std::string Usage() {
  std::string u =
      "Aufruf: nodalis-cli [BEFEHL ...] [EINSTELLUNG ...] [--format table|csv|json]\n"
      "                    [--reference JD]\n"
      "                    [--diagram DATEI [--dpi 96|300|600] [--tracks]]\n"
      "                    [--map DATEI [--dpi 96|300|600]]\n"
      "                    [--elements] [--paths DATEI] [--place BREITE L\xC4NGE [H\xD6HE]]\n"
      "        nodalis-cli --catalog VON BIS [--lunar auto|elp2000|de404]\n"
      "                    [--delta-t nodalis|espenak-meeus-2006] [--saros N ...]\n"
      "                    [--place BREITE L\xC4NGE [H\xD6HE]]\n"
      "        nodalis-cli --catalog-elements VON BIS | --catalog-paths VON BIS DATEI\n"
      "                    [wie --catalog]\n"
      "Die Befehle laufen wie im Hauptfenster nach seinem Start, in der gegebenen\n"
      "Reihenfolge; ausgegeben wird der Text des Fensters danach. Ohne Befehl:\n"
      "\"&Gehe zu:\" mit der Serie der n\xE4" "chsten Finsternis, die der Start ins Saros-Feld\n"
      "setzt. Einstellungen gelten vor dem ersten Befehl.\n";
  const char* const headings[] = {"Befehle:", "Einstellungen:", "Ausgabe:"};
  const char* const firsts[] = {"--jd", "--lunar", "--format"};
  for (const Option& o : Options()) {
    for (int g = 0; g < 3; ++g)
      if (std::string(o.name) == firsts[g]) u += std::string(headings[g]) + "\n";
    std::string left = std::string("  ") + o.name + (o.value_name ? std::string(" ") + o.value_name : "");
    std::string help;
    for (const char* c = o.help; *c; ++c) help += *c == '\n' ? "\n" + std::string(24, ' ') : std::string(1, *c);
    u += (left.size() < 24 ? PadRight(left, 24) : left + "\n" + std::string(24, ' ')) + help + "\n";
  }
  u += "Die Tabelle zeigt TDT. --date nimmt Datum und Zeit als TDT, --date-ut als UT,\n"
       "--jd wie das Programm seine Kommandozeile. Kalenderdaten vor dem 15.10.1582\n"
       "julianisch.\n"
       "csv und json h\xE4ngen an jedes Mitglied die Umst\xE4nde des Maximums an:\n"
       "magnitude, lat_deg, lon_deg, sun_alt_ge_deg, sun_azi_deg, path_width_km,\n"
       "central_duration_s, delta_t_s, lunation, canon_type (leer bzw. null, wo es sie\n"
       "nicht gibt).\n"
       "--catalog: Jahre astronomisch (-1999 = 2000 v. Chr.), "
       + std::to_string(CATALOG_FIRST_YEAR) + " bis " + std::to_string(CATALOG_LAST_YEAR) + ";\n"
       "\"auto\" nimmt DE404, wenn alle Jahre in seinem Bereich liegen, sonst ELP2000.\n";
  return u;
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
      const int wanted = opt->values - (has_inline ? 1 : 0);
      if (i + wanted >= argc) return std::string(opt->name) + " erwartet " + opt->value_name;
      for (int k = 0; k < wanted; ++k) {
        if (has_inline || k > 0) value += '\0';
        value += argv[++i];
      }
      if (opt->optional_value && i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0) {
        value += '\0';
        value += argv[++i];
      }
    } else if (has_inline) {
      return std::string(opt->name) + " hat keinen Wert";
    }
    const std::string err = opt->apply(s, value);
    if (!err.empty()) return err;
  }
  if (s.commands.size() > MAX_COMMANDS) return "h\xF6" "chstens 100 Befehle";
  if (s.catalogs > 0) {  // options that have no meaning for a catalogue
    if (s.catalogs > 1) return "--catalog, --catalog-elements und --catalog-paths nur einmal und nicht zusammen";
    const std::string& name = s.catalog_option;
    for (const Command& c : s.commands)
      if (c.kind != Command::GoTo)
        return name + " gilt nicht mit Befehlen (au\xDF" "er --saros N als Auswahl der Serien)";
    if (!s.canon_path.empty() || s.ecliptic_north || s.now_jd || s.reference_jd || s.has_format ||
        !s.diagram_path.empty() || s.has_dpi || s.tracks || s.elements || !s.paths_file.empty() ||
        !s.map_path.empty())
      return name + (s.catalog_kind == CliState::CatalogKind::Eclipses
                         ? " gilt nur mit --lunar, --delta-t, --place und --saros N"
                         : " gilt nur mit --lunar, --delta-t und --saros N");  // no --place: it is refused below
    if (s.place && s.catalog_kind != CliState::CatalogKind::Eclipses)
      return "--place gilt nicht mit " + name;
    if (s.catalog_kind == CliState::CatalogKind::Paths) return CheckGeoFilePath(s.catalog_paths_file);
    return "";
  }
  if (s.elements && s.has_format) return "--elements gilt nicht mit --format";
  if (s.elements && s.place) return "--place gilt nicht mit --elements";
  if (s.has_delta_t && s.format == Format::Table && !s.elements && s.paths_file.empty() &&
      s.map_path.empty() && !s.place)
    return "--delta-t gilt nur mit --format csv, --format json, --elements, --paths, --map, --place oder --catalog";
  if (s.diagram_path.empty() && s.tracks) return "--tracks gilt nur mit --diagram";
  if (s.diagram_path.empty() && s.map_path.empty() && s.has_dpi)
    return "--dpi gilt nur mit --diagram oder --map";
  if (!s.map_path.empty()) {
    const std::string err = CheckDiagramPath(s.map_path);
    if (!err.empty()) return err;
  }
  if (!s.paths_file.empty()) {
    const std::string err = CheckGeoFilePath(s.paths_file);
    if (!err.empty()) return err;
  }
  if (!s.diagram_path.empty()) {
    const std::string err = CheckDiagramPath(s.diagram_path);
    if (!err.empty()) return err;
  }
  // The map would replace the diagram written just before it.
  if (!s.diagram_path.empty() && !s.map_path.empty() && SameOutputFile(s.diagram_path, s.map_path))
    return "--diagram und --map nennen dieselbe Datei: " + Shown(s.map_path);
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

// A member's columns as text; "" for a value the member has not (CSV: an
// empty field, JSON: null).
struct MemberOut {
  std::string no, jd, date, time, gamma, umbra, alt, type_code, type, saros, marker;
  // Circumstances at greatest eclipse (Circumstances.h); canon_type the
  // type letter by the canon's definitions (P, A, T, H).
  std::string magnitude, lat, lon, sun_alt, sun_azi, width, duration, delta_t, lunation,
      canon_type;
};

// Decimals of the circumstance columns: finer than their accuracy against
// the canon (magnitude 0.0005, position 0.1 deg, altitude 0.6 deg, width
// 3 %, duration 1.5 s, Delta T as rounded there 0.6 s) without pretending
// more.
constexpr int MAGNITUDE_DECIMALS = 4;
constexpr int POSITION_DECIMALS = 2;  // 0.01 deg, about 1 km
constexpr int SUN_DECIMALS = 1;       // as the table's sun_alt_deg
constexpr int WIDTH_DECIMALS = 1;     // km
constexpr int DURATION_DECIMALS = 1;  // s
constexpr int DELTA_T_DECIMALS = 1;   // s

// The circumstance columns of a member: Delta T and the lunation for every
// new moon; the rest when the penumbra reaches the Earth at greatest
// eclipse (elements at the member's instant, with the Moon of the series);
// width and duration for central eclipses only, the width when both limits
// of the path lie on the Earth.
void AddCircumstances(const BesselRec& Rec, DeltaTModel Model, MemberOut& m) {
  const EclipseCircumstances c = Rec.EclType == ECL_NONE ? Circumstances(Rec, Model)
                                                         : CircumstancesAt(Rec.JDMax, Model);
  m.delta_t = DataRealToStr(DELTA_T_DECIMALS, c.DeltaTSeconds);
  m.lunation = std::to_string(c.Lunation);
  if (!c.Valid) return;
  m.canon_type = std::string(1, c.CanonType);
  m.magnitude = DataRealToStr(MAGNITUDE_DECIMALS, c.Magnitude);
  m.lat = DataRealToStr(POSITION_DECIMALS, c.LatitudeDeg);
  m.lon = DataRealToStr(POSITION_DECIMALS, c.LongitudeDeg);
  m.sun_alt = DataRealToStr(SUN_DECIMALS, c.SunAltitudeDeg);
  m.sun_azi = DataRealToStr(SUN_DECIMALS, c.SunAzimuthDeg);
  if (m.sun_azi == "360.0") m.sun_azi = "0.0";  // [0, 360) after rounding
  const bool central = Rec.EclType >= ECL_ANNULAR && Rec.EclType <= ECL_HYBRID && c.Central;
  if (!central) return;
  if (c.NorthLimit && c.SouthLimit) m.width = DataRealToStr(WIDTH_DECIMALS, c.PathWidthKm);
  m.duration = DataRealToStr(DURATION_DECIMALS, c.CentralDurationS);
}

// The table's members with their columns; the circumstances only when
// asked (they cost three sets of elements per member).
std::vector<MemberOut> Members(bool canon, const std::optional<DeltaTModel>& circumstances = {}) {
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
    if (circumstances) AddCircumstances(r.Rec, *circumstances, m);
    out.push_back(std::move(m));
  }
  return out;
}

// The local columns of every member (LocalTable), one row of values each;
// empty without a place.  false when the elements cannot be fitted.
bool LocalValues(bool canon, DeltaTModel model, const std::optional<GeodeticPlace>& place,
                 std::vector<std::vector<std::string>>& out) {
  out.clear();
  if (!place) return true;
  std::vector<LocalCircumstances> local;
  if (!SeriesLocalCircumstances(SeriesList, canon, model, *place, local)) return false;
  for (const LocalCircumstances& L : local) out.push_back(LocalColumnValues(L));
  return true;
}

void PrintCsv(std::ostream& os, bool canon, DeltaTModel model,
              const std::vector<std::vector<std::string>>& local) {
  os << "no,jd_tdt,date,time_tdt,gamma,umbra_km,sun_alt_deg,type_code,type,saros,marker,"
        "magnitude,lat_deg,lon_deg,sun_alt_ge_deg,sun_azi_deg,path_width_km,"
        "central_duration_s,delta_t_s,lunation,canon_type";
  if (!local.empty())
    for (const std::string& c : LocalColumns()) os << ',' << c;
  os << '\n';
  std::size_t i = 0;
  for (const MemberOut& m : Members(canon, model)) {
    os << m.no << ',' << m.jd << ',' << m.date << ',' << m.time << ',' << m.gamma << ','
       << m.umbra << ',' << m.alt << ',' << m.type_code << ',' << m.type << ',' << m.saros
       << ',' << m.marker << ',' << m.magnitude << ',' << m.lat << ',' << m.lon << ','
       << m.sun_alt << ',' << m.sun_azi << ',' << m.width << ',' << m.duration << ','
       << m.delta_t << ',' << m.lunation << ',' << m.canon_type;
    if (i < local.size())
      for (const std::string& v : local[i]) os << ',' << v;
    ++i;
    os << '\n';
  }
}

// A JSON number, or null for "".
std::string JsonNumber(const std::string& v) { return v.empty() ? "null" : v; }

// The local columns of one member as JSON members (", \"local_type\": ...").
std::string JsonLocal(const std::vector<std::string>& values) {
  std::string out;
  const std::vector<std::string>& names = LocalColumns();
  for (std::size_t k = 0; k < names.size() && k < values.size(); ++k) {
    out += ", \"" + names[k] + "\": ";
    if (values[k].empty()) out += "null";
    else if (LocalColumnKindOf(k) == LocalColumnKind::Text) out += JsonString(values[k]);
    else out += values[k];
  }
  return out;
}

void PrintJson(std::ostream& os, const std::vector<std::string>& memo, int32_t saros,
               bool elp, bool canon, DeltaTModel model, const std::optional<GeodeticPlace>& place,
               const std::vector<std::vector<std::string>>& local) {
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
  os << "\n  ],\n  \"delta_t_model\": \"" << DeltaTModelName(model) << "\",";
  if (place)
    os << "\n  \"place\": {\"lat_deg\": " << DataRealToStr(6, place->LatitudeDeg)
       << ", \"lon_deg\": " << DataRealToStr(6, place->LongitudeDeg)
       << ", \"height_m\": " << DataRealToStr(1, place->HeightM) << "},";
  os << "\n  \"members\": [";
  first = true;
  std::size_t i = 0;
  for (const MemberOut& m : Members(canon, model)) {
    os << (first ? "\n" : ",\n") << "    {\"no\": " << m.no << ", \"jd_tdt\": " << m.jd
       << ", \"date\": " << JsonString(m.date) << ", \"time_tdt\": " << JsonString(m.time)
       << ", \"gamma\": " << m.gamma << ", \"umbra_km\": " << m.umbra
       << ", \"sun_alt_deg\": " << JsonNumber(m.alt)
       << ", \"type_code\": " << m.type_code
       << ", \"canon_type\": " << (m.canon_type.empty() ? "null" : JsonString(m.canon_type))
       << ", \"type\": " << JsonString(m.type)
       << ", \"saros\": " << m.saros << ", \"marker\": " << JsonString(m.marker)
       << ", \"magnitude\": " << JsonNumber(m.magnitude) << ", \"lat_deg\": " << JsonNumber(m.lat)
       << ", \"lon_deg\": " << JsonNumber(m.lon) << ", \"sun_alt_ge_deg\": " << JsonNumber(m.sun_alt)
       << ", \"sun_azi_deg\": " << JsonNumber(m.sun_azi)
       << ", \"path_width_km\": " << JsonNumber(m.width)
       << ", \"central_duration_s\": " << JsonNumber(m.duration)
       << ", \"delta_t_s\": " << JsonNumber(m.delta_t) << ", \"lunation\": " << m.lunation
       << (i < local.size() ? JsonLocal(local[i]) : std::string()) << "}";
    ++i;
    first = false;
  }
  os << "\n  ]\n}\n";
}

// Each line of the message after the program's name.
int FailUtf8(int code, const std::string& utf8) {
  std::size_t from = 0;
  do {
    const std::size_t nl = utf8.find('\n', from);
    std::cerr << "nodalis-cli: " << utf8.substr(from, nl - from) << '\n';
    from = nl == std::string::npos ? nl : nl + 1;
  } while (from != std::string::npos);
  if (code == 2) std::cerr << Cp1252ToUtf8(Usage());
  return code;
}

int Fail(int code, const std::string& cp1252) { return FailUtf8(code, Cp1252ToUtf8(cp1252)); }

// Writes Text to the standard output; false when it could not be written
// completely: with a message for a full disk (/dev/full) or the file-size
// limit (ulimit -f), quietly for a closed pipe (the reader has all it
// wanted, as "nodalis-cli ... | head" means).
bool WriteOut(const std::string& Text) {
  errno = 0;
  const bool ok = std::fwrite(Text.data(), 1, Text.size(), stdout) == Text.size() &&
                  std::fflush(stdout) == 0;
  if (ok) return true;
  const int error = errno;
  if (error == EPIPE) return false;
  std::string why;
  if (error == ENOSPC) why = " (kein Platz auf dem Ger\xE4t)";
  else if (error == EFBIG) why = " (Grenze der Dateigr\xF6\xDF" "e erreicht)";
  else if (error != 0) why = std::string(" (") + std::strerror(error) + ")";
  Fail(1, "Ausgabe konnte nicht geschrieben werden" + why);
  return false;
}

// Runs one command; false when it wrote no table.
bool RunCommand(SeriesCommands& c, const Command& cmd) {
  switch (cmd.kind) {
    case Command::StartJD: return c.CommandLineJD(cmd.jd);
    case Command::Date:
    case Command::DateUT:
      return c.ChooseDate([&] {  // the dialog's OK with the Julian date and the TDT box
        SelectedJD = cmd.jd;
        TimesAreTDT = cmd.kind == Command::Date;
        Zone = 0;
        return true;
      });
    case Command::Next: return c.StepEclipse(1);
    case Command::Prev: return c.StepEclipse(-1);
    case Command::SarosStep: return c.ChangeSaros(cmd.n);
    case Command::GoTo:
      c.SarosField = cmd.n;
      return c.ChangeSaros(0);
  }
  return false;
}

// A percentage line on the standard error ("\rKatalog -1999 bis 3000: 42 %"),
// redrawn in place, only when the standard error is a terminal and only once
// the run has taken a second; cleared by Finish().
class ProgressLine {
 public:
  explicit ProgressLine(std::string Label)
      : label_(std::move(Label)), tty_(::isatty(STDERR_FILENO) == 1),
        start_(std::chrono::steady_clock::now()) {}
  void operator()(double Fraction) {
    if (!tty_) return;
    const int percent = static_cast<int>(Fraction * 100);
    if (percent == shown_ || std::chrono::steady_clock::now() - start_ < DELAY) return;
    shown_ = percent;
    std::fprintf(stderr, "\r%s: %3d %%", label_.c_str(), percent);
    std::fflush(stderr);
  }
  void Finish() {
    if (shown_ < 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(label_.size() + 7, ' ').c_str());
    std::fflush(stderr);
    shown_ = -1;
  }
  ~ProgressLine() { Finish(); }

 private:
  static constexpr std::chrono::seconds DELAY{1};
  std::string label_;
  bool tty_;
  std::chrono::steady_clock::time_point start_;
  int shown_ = -1;  // the percentage on the line, -1 none
};

// Writes a GIS file through the module's QSaveFile writer; the exit code.
int WriteGeoFile(const std::string& Path, const std::string& Text) {
  std::string error;
  return WriteFileThroughModule(Path, Text, &error) ? 0 : FailUtf8(1, error);
}

// --catalog: the eclipses of the years in the canon's CSV layout.  "auto"
// takes one Moon for the whole catalogue: DE404 when every year lies in its
// range (as the window's Auto for one instant), else ELP2000.
int RunCatalog(const CliState& s) {
  long double fromJD = 0, toJD = 0;
  if (!CatalogYears(s.catalog_from, s.catalog_to, fromJD, toJD)) return Fail(2, "--catalog");
  UseLunarLib = s.lunar == LunarMode::ELP2000 ||
                (s.lunar == LunarMode::Auto &&
                 (AutoChoosesELP2000(fromJD) || AutoChoosesELP2000(toJD)));
  std::set<int32_t> saros;
  for (const Command& c : s.commands) saros.insert(c.n);  // only --saros N (ParseArgs)
  std::string text;
  ProgressLine progress("Katalog " + std::to_string(s.catalog_from) + " bis " +
                        std::to_string(s.catalog_to));
  const auto report = [&](double f) { progress(f); };
  GeoFileFormat format = GeoFileFormat::GeoJson;
  bool ok = false;
  switch (s.catalog_kind) {
    case CliState::CatalogKind::Eclipses:
      ok = s.place ? CatalogLocalCsv(s.catalog_from, s.catalog_to, s.delta_t, saros, *s.place, text, report)
                   : EclipseCatalogCsv(s.catalog_from, s.catalog_to, s.delta_t, saros, text, report);
      break;
    case CliState::CatalogKind::Elements:
      ok = CatalogElementsText(s.catalog_from, s.catalog_to, s.delta_t, saros, text, report);
      break;
    case CliState::CatalogKind::Paths:
      ok = GeoFileFormatOf(s.catalog_paths_file, format) &&
           CatalogPathsText(s.catalog_from, s.catalog_to, s.delta_t, saros, format, text, report);
      break;
  }
  progress.Finish();
  if (!ok) return Fail(1, "Katalog konnte nicht berechnet werden");
  if (s.catalog_kind == CliState::CatalogKind::Paths) return WriteGeoFile(s.catalog_paths_file, text);
  return WriteOut(text) ? 0 : 1;
}

int Run(const CliState& s) {
  if (s.catalogs > 0) return RunCatalog(s);
  if (s.now_jd) ClockJD = *s.now_jd;
  if (!s.canon_path.empty()) CanonPath = s.canon_path;
  EkliptikalNordChecked = s.ecliptic_north;
  SeriesCommands c;
  c.SetLunarMode(s.lunar);
  if (!s.canon_path.empty()) c.SetCanon(true);
  c.Start();
  std::vector<Command> commands = s.commands;
  if (commands.empty()) {
    // "Gehe zu:" with the series of the next eclipse after now: there is
    // none when now lies at the end of the supported dates.
    if (!c.StartFoundEclipse) return Fail(1, JDRangeText());
    commands.push_back({Command::GoTo, 0, c.SarosField});
  }
  for (const Command& cmd : commands)
    if (!RunCommand(c, cmd)) return Fail(1, c.Message.empty() ? JDRangeText() : c.Message);
  if (s.reference_jd) {
    ReferenceJD = *s.reference_jd;
    c.WriteTable();
  }

  std::ostringstream os;
  if (s.elements) {  // the polynomial elements instead of the table
    std::string text;
    if (!SeriesElementsText(SeriesList, c.Canon, s.delta_t, text))
      return Fail(1, "Bessel-Elemente konnten nicht berechnet werden");
    os << text;
  } else {
    std::vector<std::vector<std::string>> local;
    if (s.format != Format::Table && !LocalValues(c.Canon, s.delta_t, s.place, local))
      return Fail(1, "Bessel-Elemente konnten nicht berechnet werden");
    switch (s.format) {
      case Format::Table:
        for (const std::string& line : c.Memo) os << Cp1252ToUtf8(line) << '\n';
        if (s.place) {  // the block of the members seen from the place
          os << '\n';
          for (const std::string& line : LocalBlockLines(SeriesList, c.Canon, s.delta_t, *s.place))
            os << Cp1252ToUtf8(line) << '\n';
        }
        break;
      case Format::Csv: PrintCsv(os, c.Canon, s.delta_t, local); break;
      case Format::Json:
        PrintJson(os, c.Memo, c.CurrentSaros, c.ELP2000, c.Canon, s.delta_t, s.place, local);
        break;
    }
  }
  if (!WriteOut(os.str())) return 1;
  if (c.Canon && c.CanonSkippedLines > 0)
    Fail(0, "Canon-Datei " + CanonFileName() + ": " + SkippedLinesText(c.CanonSkippedLines));
  if (!s.diagram_path.empty()) {  // the graph window's picture into a file
    ShowSchattenbahnChecked = s.tracks;
    std::string error;
    if (!WriteSeriesDiagramThroughModule(s.diagram_path, s.diagram_dpi, &error))
      return FailUtf8(1, error);
  }
  if (!s.map_path.empty()) {  // the world map with the members' paths
    std::string error;
    if (!WriteSeriesMapThroughModule(s.map_path, s.diagram_dpi, s.delta_t, s.place, &error))
      return FailUtf8(1, error);
  }
  if (!s.paths_file.empty()) {  // the members' paths into a GIS file
    GeoFileFormat format = GeoFileFormat::GeoJson;
    std::string text;
    if (!GeoFileFormatOf(s.paths_file, format) ||
        !SeriesPathsText(SeriesList, c.Canon, s.delta_t, format, Cp1252ToUtf8(TitleCaption), text))
      return Fail(1, "Pfade konnten nicht berechnet werden");
    return WriteGeoFile(s.paths_file, text);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A write to a closed pipe or beyond the file-size limit then fails with
  // EPIPE or EFBIG, which WriteOut and the diagram's writer report, instead
  // of ending the program by a signal.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  CliState s;
  const std::string err = ParseArgs(argc, argv, s);
  if (!err.empty()) return Fail(2, err);
  if (s.help) return WriteOut(Cp1252ToUtf8(Usage())) ? 0 : 1;
  return Run(s);
}
