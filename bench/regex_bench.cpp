// The program's own patterns, each run the way the program runs it (compile,
// create a matcher, whole-text match, groups, release), against std::regex
// (construct + regex_match) and the PCRE2 interpreter (compile + match) on the
// same inputs. One iteration handles every input of the row.
//
// Then long texts: searches that a plain backtracker repeats from every start
// position or every count of a repetition, hostile adapter lines, saved
// group positions that pile up and wide classes of many members, run by the
// engine (narrow copy; wide where the row says so) and by the PCRE2
// interpreter side by side.
#define PCRE2_CODE_UNIT_WIDTH 0
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "regex/pattern.h"
#include "tests/support/dazudu_adapter_line.h"

namespace {

struct Row {
  const char* name;
  std::string pattern;
  unsigned long flags;  // 4: dot matches all; 12: also multiline
  bool wide;
  bool groups;  // the program reads the groups after a match
  std::vector<std::string> inputs;
};

const std::string kDazudu = test_support::kDazuduAdapterLine;

const std::vector<std::string> kDazuduOutput = {
    "Dazudu Flash Utility, version 3.4.12",
    "HBA=DZ-LP12002-E, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=2.01A12, Boot "
    "Code=5.12a2",
    "HBA=DZ-LP12002-E, PCI ID=F100, VID=10DF, SSID=F100, SVID=10DF, Firmware=2.01A12, Boot "
    "Code=5.12a2",
    "HBA=DZ-LP11002, PCI ID=FD00, VID=10DF, SSID=FD00, SVID=10DF, Firmware=2.82A4, Boot "
    "Code=5.03a0",
    "",
};

const std::vector<std::string> kRedHat = {
    "Red Hat Enterprise Linux AS release 4 (Nahant Update 8)\n",
    "Red Hat Enterprise Linux Server release 5.8 (Tikanga)\n",
    "Red Hat Enterprise Linux Server release 6.2 (Santiago)\n",
};

const std::vector<std::string> kSuse = {
    "SUSE Linux Enterprise Server 10 (x86_64)\nVERSION = 10\nPATCHLEVEL = 4\n",
    "SUSE Linux Enterprise Server 11 (x86_64)\nVERSION = 11\nPATCHLEVEL = 1\n",
};

const std::vector<std::string> kZelvokOutput = {
    "HBA Instance                 : 0",
    "Flash Image Version          : 1.08",
    "Port Name                    : 21-00-00-e0-8b-12-34-56",
    "Adapter Model                : ZV2462",
    "Driver Version               : 8.03.07.03-k",
};

// Dot-separated parts of installed and reference versions.
const std::vector<std::string> kVersionParts = {"2", "01A12", "5", "12a2", "1", "08",
                                                "3", "0",     "3", "0",    "2", "82"};

const std::vector<Row> kRows = {
    {"dazudu_line", kDazudu, 4, false, true, kDazuduOutput},
    {"release_rhel4", "Red Hat Enterprise Linux.*release 4.*", 12, false, false, kRedHat},
    {"release_rhel5", "Red Hat Enterprise Linux.*release 5.*", 12, false, false, kRedHat},
    {"release_rhel6", "Red Hat Enterprise Linux.*release 6.*", 12, false, false, kRedHat},
    {"release_sles10", "SUSE Linux Enterprise Server 10.*", 12, false, false, kSuse},
    {"release_sles11", "SUSE Linux Enterprise Server 11.*", 12, false, false, kSuse},
    {"version_part_digits", "\\d+", 0, true, false, kVersionParts},
    {"zelvok_instance", "HBA Instance.*: (.+).*", 4, false, true, kZelvokOutput},
    {"zelvok_flash_image", "Flash Image.*: (.+).*", 4, false, true, kZelvokOutput},
    {"zelvok_port_name", "Port Name.*: (.+).*", 4, false, true, kZelvokOutput},
    {"marqeth_version",
     ".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*",
     4,
     true,
     true,
     {"Version: 3.0.3.0 build 12", "mqu_bootupdate version 12.0.3.0", "Boot code 3.0.3"}},
    {"marqeth_kernel",
     "(\\d+\\.\\d+\\.\\d+).*",
     4,
     true,
     true,
     {"2.6.32-5-amd64", "2.6.18-308.el5", "3.0.13-0.27-default"}},
};

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::vector<std::wstring> WideInputs(const Row& row) {
  std::vector<std::wstring> inputs;
  for (const auto& s : row.inputs) inputs.push_back(Widen(s));
  return inputs;
}

// std::regex has no "dot matches all" mode: a "." outside brackets becomes
// [\s\S], which is what flag 4 makes of it.
std::string DotAllForStd(const std::string& p) {
  std::string out;
  bool inClass = false;
  for (size_t i = 0; i < p.size(); ++i) {
    char c = p[i];
    if (c == '\\' && i + 1 < p.size()) {
      out += c;
      out += p[++i];
    } else if (inClass) {
      out += c;
      inClass = c != ']';
    } else if (c == '[') {
      out += c;
      inClass = true;
    } else {
      out += c == '.' ? std::string("[\\s\\S]") : std::string(1, c);
    }
  }
  return out;
}

// ---- This engine, as the program calls it ----

template <typename P>
void EngineOnce(const Row& row, const typename P::String& pattern,
                const std::vector<typename P::String>& inputs) {
  for (const auto& text : inputs) {
    if (!row.groups) {
      benchmark::DoNotOptimize(P::MatchesStatic(pattern, text, row.flags));
      continue;
    }
    P* p = P::Compile(pattern, row.flags);
    auto* m = p->CreateMatcher(text);
    if (m->Matches()) {
      if (row.wide)
        benchmark::DoNotOptimize(m->GetGroup(1));
      else
        benchmark::DoNotOptimize(m->GetGroups(false));
    }
    delete m;
    delete p;
  }
}

void BM_Engine(benchmark::State& state, const Row& row) {
  if (row.wide) {
    std::wstring pattern = Widen(row.pattern);
    std::vector<std::wstring> inputs = WideInputs(row);
    for (auto _ : state) EngineOnce<UPattern>(row, pattern, inputs);
  } else {
    for (auto _ : state) EngineOnce<Pattern>(row, row.pattern, row.inputs);
  }
}

// ---- std::regex: construct + regex_match ----

template <typename Char>
void StdOnce(const Row& row, const std::basic_string<Char>& pattern,
             const std::vector<std::basic_string<Char>>& inputs) {
  for (const auto& text : inputs) {
    std::basic_regex<Char> re(pattern);
    std::match_results<typename std::basic_string<Char>::const_iterator> m;
    if (std::regex_match(text, m, re) && row.groups) {
      std::vector<std::basic_string<Char>> groups;
      for (size_t g = 1; g < m.size(); ++g) groups.push_back(m[g].str());
      benchmark::DoNotOptimize(groups);
    }
  }
}

void BM_StdRegex(benchmark::State& state, const Row& row) {
  std::string pattern = row.flags & 4 ? DotAllForStd(row.pattern) : row.pattern;
  if (row.wide) {
    std::wstring wpattern = Widen(pattern);
    std::vector<std::wstring> inputs = WideInputs(row);
    for (auto _ : state) StdOnce<wchar_t>(row, wpattern, inputs);
  } else {
    for (auto _ : state) StdOnce<char>(row, pattern, row.inputs);
  }
}

// ---- PCRE2 interpreter: compile + anchored whole-text match ----

uint32_t Pcre2Options(const Row& row) {
  uint32_t o = 0;
  if (row.flags & 1) o |= PCRE2_CASELESS;
  if (row.flags & 4) o |= PCRE2_DOTALL;
  if (row.flags & 8) o |= PCRE2_MULTILINE;
  return o;
}

void Pcre2NarrowOnce(const Row& row, uint32_t options) {
  for (const auto& text : row.inputs) {
    int error;
    PCRE2_SIZE offset;
    pcre2_code_8* code = pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(row.pattern.data()),
                                         row.pattern.size(), options, &error, &offset, nullptr);
    pcre2_match_data_8* md = pcre2_match_data_create_from_pattern_8(code, nullptr);
    int rc = pcre2_match_8(code, reinterpret_cast<PCRE2_SPTR8>(text.data()), text.size(), 0,
                           PCRE2_ANCHORED | PCRE2_ENDANCHORED, md, nullptr);
    if (rc > 0 && row.groups) {
      PCRE2_SIZE* ov = pcre2_get_ovector_pointer_8(md);
      std::vector<std::string> groups;
      for (int g = 1; g < rc; ++g)
        groups.push_back(text.substr(ov[2 * g], ov[2 * g + 1] - ov[2 * g]));
      benchmark::DoNotOptimize(groups);
    }
    pcre2_match_data_free_8(md);
    pcre2_code_free_8(code);
  }
}

void Pcre2WideOnce(const Row& row, uint32_t options, const std::wstring& pattern,
                   const std::vector<std::wstring>& inputs) {
  for (const auto& text : inputs) {
    int error;
    PCRE2_SIZE offset;
    pcre2_code_32* code = pcre2_compile_32(reinterpret_cast<PCRE2_SPTR32>(pattern.data()),
                                           pattern.size(), options, &error, &offset, nullptr);
    pcre2_match_data_32* md = pcre2_match_data_create_from_pattern_32(code, nullptr);
    int rc = pcre2_match_32(code, reinterpret_cast<PCRE2_SPTR32>(text.data()), text.size(), 0,
                            PCRE2_ANCHORED | PCRE2_ENDANCHORED, md, nullptr);
    if (rc > 1 && row.groups) {
      PCRE2_SIZE* ov = pcre2_get_ovector_pointer_32(md);
      benchmark::DoNotOptimize(text.substr(ov[2], ov[3] - ov[2]));
    }
    pcre2_match_data_free_32(md);
    pcre2_code_free_32(code);
  }
}

void BM_Pcre2(benchmark::State& state, const Row& row) {
  uint32_t options = Pcre2Options(row);
  if (row.wide) {
    std::wstring pattern = Widen(row.pattern);
    std::vector<std::wstring> inputs = WideInputs(row);
    for (auto _ : state) Pcre2WideOnce(row, options, pattern, inputs);
  } else {
    for (auto _ : state) Pcre2NarrowOnce(row, options);
  }
}

// The three implementations must agree on every input, or the timings
// compare different work. Disagreements are printed before the run.
std::string EngineAnswer(const Row& row, const std::string& text) {
  std::string answer = "no match";
  if (row.wide) {
    UPattern* p = UPattern::Compile(Widen(row.pattern), row.flags);
    UMatcher* m = p->CreateMatcher(Widen(text));
    if (m->Matches()) answer = "match " + std::to_string(m->GetGroup(1).size());
    delete m;
    delete p;
  } else {
    Pattern* p = Pattern::Compile(row.pattern, row.flags);
    Matcher* m = p->CreateMatcher(text);
    if (m->Matches()) answer = "match " + (row.groups ? m->GetGroup(1) : std::string());
    delete m;
    delete p;
  }
  return answer;
}

std::string StdAnswer(const Row& row, const std::string& text) {
  std::regex re(row.flags & 4 ? DotAllForStd(row.pattern) : row.pattern);
  std::smatch m;
  if (!std::regex_match(text, m, re)) return "no match";
  if (row.wide) return "match " + std::to_string(m[1].length());
  return "match " + (row.groups ? m[1].str() : std::string());
}

std::string Pcre2Answer(const Row& row, const std::string& text) {
  int error;
  PCRE2_SIZE offset;
  pcre2_code_8* code =
      pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(row.pattern.data()), row.pattern.size(),
                      Pcre2Options(row), &error, &offset, nullptr);
  pcre2_match_data_8* md = pcre2_match_data_create_from_pattern_8(code, nullptr);
  int rc = pcre2_match_8(code, reinterpret_cast<PCRE2_SPTR8>(text.data()), text.size(), 0,
                         PCRE2_ANCHORED | PCRE2_ENDANCHORED, md, nullptr);
  std::string answer = "no match";
  if (rc > 0) {
    PCRE2_SIZE* ov = pcre2_get_ovector_pointer_8(md);
    std::string g1 = rc > 1 ? text.substr(ov[2], ov[3] - ov[2]) : std::string();
    answer = "match " + (row.wide ? std::to_string(g1.size()) : row.groups ? g1 : std::string());
  }
  pcre2_match_data_free_8(md);
  pcre2_code_free_8(code);
  return answer;
}

void CheckAgreement() {
  for (const Row& row : kRows) {
    for (const std::string& text : row.inputs) {
      std::string e = EngineAnswer(row, text), s = StdAnswer(row, text), p = Pcre2Answer(row, text);
      if (e != s || e != p)
        std::fprintf(stderr, "DISAGREEMENT %s on \"%s\": engine %s, std::regex %s, PCRE2 %s\n",
                     row.name, text.c_str(), e.c_str(), s.c_str(), p.c_str());
    }
  }
}

// ---- Long texts: the engine and the PCRE2 interpreter, one operation each ----

enum class Op { kFind, kWhole };

// A row of the narrow copy, or of the wide one (wide true: widePattern and
// wideText, and pcre2Pattern for PCRE2's 32-bit library, whose "\x" takes
// braces where the wide copy reads four digits).
struct LongRow {
  const char* name;
  std::string pattern;
  unsigned long flags;  // 2: literal; 4: dot matches all
  Op op;
  std::string text;
  bool wide = false;
  std::wstring widePattern{}, wideText{}, pcre2Pattern{};
};

std::string Repeat(const std::string& piece, size_t count) {
  std::string s;
  for (size_t i = 0; i < count; ++i) s += piece;
  return s;
}

// 500 groups of 100 empty alternatives: a look-ahead or independent group
// over them saves 100,000 group positions on every pass.
std::string ManyEmptyGroups() {
  std::string alternatives = "(?:()";
  for (int i = 1; i < 100; ++i) alternatives += "|()";
  return Repeat(alternatives + ")", 500);
}

// Characters from U+0100 up to U+0100 + span, in no order.
std::wstring VariedAbove255(size_t length, uint32_t span) {
  std::wstring text;
  uint32_t x = 12345;
  for (size_t i = 0; i < length; ++i) {
    x = x * 1103515245u + 12345u;
    text += static_cast<wchar_t>(0x100 + (x >> 8) % span);
  }
  return text;
}

LongRow WideRow(const char* name, const std::wstring& pattern, const std::wstring& pcre2Pattern,
                const std::wstring& text) {
  LongRow row{name, "", 0, Op::kFind, ""};
  row.wide = true;
  row.widePattern = pattern;
  row.wideText = text;
  row.pcre2Pattern = pcre2Pattern;
  return row;
}

const std::vector<LongRow>& LongRows() {
  static const std::vector<LongRow> rows = [] {
    const size_t mb = 1 << 20;
    std::string commas = "HBA=";
    while (commas.size() < mb) commas += "x,";
    const std::string fields =
        "HBA=x, " + Repeat("PCI ID=1, VID=2, SSID=3, SVID=4, Firmware=5, ", 20000);
    return std::vector<LongRow>{
        {"a*c, 15,000 a + bc", "a*c", 0, Op::kFind, std::string(15000, 'a') + "bc"},
        {"a*c, 100,000 a + bc", "a*c", 0, Op::kFind, std::string(100000, 'a') + "bc"},
        {"\\d+\\.\\d+, 15,000 digits + 1.5", "\\d+\\.\\d+", 0, Op::kFind,
         std::string(15000, '7') + " 1.5"},
        {".*?;, 100 KB without ;", ".*?;", 0, Op::kFind, std::string(100000, 'x')},
        {".*?;, 100 KB, a line end, ;", ".*?;", 0, Op::kFind, std::string(100000, 'x') + "\n;"},
        {"a*?c, 1 MB a + b", "a*?c", 0, Op::kFind, std::string(mb, 'a') + "b"},
        {"a*?c, 30,000 a + bc", "a*?c", 0, Op::kFind, std::string(30000, 'a') + "bc"},
        {"(a*)\\1b, 1 MB a", "(a*)\\1b", 0, Op::kFind, std::string(mb, 'a')},
        {"(a*)\\1b, 4 KB a + xb", "(a*)\\1b", 0, Op::kFind, std::string(4096, 'a') + "xb"},
        {"literal of 500,000, 1 MB", std::string(500000, 'a') + "b", 2, Op::kFind,
         std::string(mb, 'a')},
        {"(a*)*b whole, 64 KB a", "(a*)*b", 0, Op::kWhole, std::string(65536, 'a')},
        {"(a*)*b whole, 64 KB a + cb", "(a*)*b", 0, Op::kWhole, std::string(65536, 'a') + "cb"},
        {"(x+x+)+y, 5,000 x", "(x+x+)+y", 0, Op::kFind, std::string(5000, 'x')},
        {"(x+x+)+y, 5,000 x + zy", "(x+x+)+y", 0, Op::kFind, std::string(5000, 'x') + "zy"},
        {"adapter line, 1 MB HBA=x,x,...", kDazudu, 4, Op::kWhole, commas},
        {"adapter line, 20,000 field groups", kDazudu, 4, Op::kWhole, fields},
        {"adapter line, 20,000 field groups + Boot Code", kDazudu, 4, Op::kWhole,
         fields + "Boot Code=5.1"},
        {"(?=B*?b)c, 100,000 B + bc", "(?=B*?b)c", 0, Op::kFind, std::string(100000, 'B') + "bc"},
        {"40 x c? (?=.*x)y, 200,000 a + yx", Repeat("c?", 40) + "(?=.*x)y", 0, Op::kFind,
         std::string(200000, 'a') + "yx"},
        {"a{100000}, 99,999 a", "a{100000}", 0, Op::kFind, std::string(99999, 'a')},
        {"a{1000}, 20 MB of runs of 999 a", "a{1000}", 0, Op::kFind,
         Repeat(std::string(999, 'a') + "b", 20000)},
        {".{1000000}, a line of 999,999", ".{1000000}", 0, Op::kFind, std::string(999999, 'x')},
        {"(?:(?=500 x (?:()|()|...))a)*b, 3,000 a + b", "(?:(?=" + ManyEmptyGroups() + ")a)*b", 0,
         Op::kFind, std::string(3000, 'a') + "b"},
        {"(?:(?>500 x (?:()|()|...))a)*b, 3,000 a + b", "(?:(?>" + ManyEmptyGroups() + ")a)*b", 0,
         Op::kFind, std::string(3000, 'a') + "b"},
        WideRow("a{0,1000}\\z (wide), 100,000 a + b", L"a{0,1000}\\z", L"a{0,1000}\\z",
                std::wstring(100000, L'a') + L"b"),
        WideRow("[\\x0100-\\xffff]{0,1000}\\z (wide), 100,000 varied + b",
                L"[\\x0100-\\xffff]{0,1000}\\z", L"[\\x{100}-\\x{ffff}]{0,1000}\\z",
                VariedAbove255(100000, 0xFF00) + L"b"),
        WideRow("[\\x0100-U+10FFFF]{0,1000}\\z (wide), 100,000 varied + b",
                L"[\\x0100-" + std::wstring(1, wchar_t(0x10FFFF)) + L"]{0,1000}\\z",
                L"[\\x{100}-\\x{10ffff}]{0,1000}\\z", VariedAbove255(100000, 0x10FF00) + L"b"),
    };
  }();
  return rows;
}

// Outcome counters: where the match starts (-1: none) and how the operation
// ended (0: an answer; 1: the engine's step bound; 2: PCRE2's match limit;
// 3: PCRE2 refused the pattern as too large; 4: PCRE2 refused a count above
// its largest).
template <typename P>
void LongEngineOnce(const LongRow& row, const typename P::String& pattern,
                    const typename P::String& text, int& at, int& bound) {
  P* p = P::Compile(pattern, row.flags);
  auto* m = p->CreateMatcher(text);
  bool found = row.op == Op::kWhole ? m->Matches() : m->FindFirstMatch();
  at = found ? m->GetStartingIndex(0) : -1;
  bound = m->LimitExceeded() ? 1 : 0;
  delete m;
  delete p;
}

void BM_LongEngine(benchmark::State& state, const LongRow& row) {
  int at = -1, bound = 0;
  for (auto _ : state) {
    if (row.wide)
      LongEngineOnce<UPattern>(row, row.widePattern, row.wideText, at, bound);
    else
      LongEngineOnce<Pattern>(row, row.pattern, row.text, at, bound);
  }
  state.counters["at"] = at;
  state.counters["outcome"] = bound;
}

int RefusedOutcome(int error) { return error == PCRE2_ERROR_QUANTIFIER_TOO_BIG ? 4 : 3; }

void BM_LongPcre2(benchmark::State& state, const LongRow& row) {
  uint32_t options = (row.flags & 2 ? PCRE2_LITERAL : 0) | (row.flags & 4 ? PCRE2_DOTALL : 0);
  const uint32_t anchors = row.op == Op::kWhole ? PCRE2_ANCHORED | PCRE2_ENDANCHORED : 0;
  int at = -1, outcome = 0;
  for (auto _ : state) {
    int error;
    PCRE2_SIZE offset;
    if (row.wide) {
      pcre2_code_32* code =
          pcre2_compile_32(reinterpret_cast<PCRE2_SPTR32>(row.pcre2Pattern.data()),
                           row.pcre2Pattern.size(), options, &error, &offset, nullptr);
      if (!code) {
        outcome = RefusedOutcome(error);
        continue;
      }
      pcre2_match_data_32* md = pcre2_match_data_create_from_pattern_32(code, nullptr);
      int rc = pcre2_match_32(code, reinterpret_cast<PCRE2_SPTR32>(row.wideText.data()),
                              row.wideText.size(), 0, anchors, md, nullptr);
      at = rc > 0 ? static_cast<int>(pcre2_get_ovector_pointer_32(md)[0]) : -1;
      outcome = rc == PCRE2_ERROR_MATCHLIMIT ? 2 : 0;
      pcre2_match_data_free_32(md);
      pcre2_code_free_32(code);
      continue;
    }
    pcre2_code_8* code = pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(row.pattern.data()),
                                         row.pattern.size(), options, &error, &offset, nullptr);
    if (!code) {
      outcome = RefusedOutcome(error);
      continue;
    }
    pcre2_match_data_8* md = pcre2_match_data_create_from_pattern_8(code, nullptr);
    int rc = pcre2_match_8(code, reinterpret_cast<PCRE2_SPTR8>(row.text.data()), row.text.size(), 0,
                           anchors, md, nullptr);
    at = rc > 0 ? static_cast<int>(pcre2_get_ovector_pointer_8(md)[0]) : -1;
    outcome = rc == PCRE2_ERROR_MATCHLIMIT ? 2 : 0;
    pcre2_match_data_free_8(md);
    pcre2_code_free_8(code);
  }
  state.counters["at"] = at;
  state.counters["outcome"] = outcome;
}

void RegisterAll() {
  for (const LongRow& row : LongRows()) {
    const std::string name = std::string("long/") + row.name;
    benchmark::RegisterBenchmark((name + "/engine").c_str(), BM_LongEngine, row)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->MinTime(0.05);
    benchmark::RegisterBenchmark((name + "/pcre2").c_str(), BM_LongPcre2, row)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(3)
        ->MinTime(0.05);
  }
  for (const Row& row : kRows) {
    benchmark::RegisterBenchmark((std::string(row.name) + "/engine").c_str(), BM_Engine, row);
    benchmark::RegisterBenchmark((std::string(row.name) + "/std_regex").c_str(), BM_StdRegex, row);
    benchmark::RegisterBenchmark((std::string(row.name) + "/pcre2").c_str(), BM_Pcre2, row);
  }
}

// The implementations whose call sequence a counted run repeats.
enum class Counted { kEngine, kPcre2 };

// Runs one row's sequence of one implementation once.
void OnceOf(const Row& row, Counted impl, const std::wstring& widePattern,
            const std::vector<std::wstring>& wideInputs) {
  if (impl == Counted::kPcre2) {
    if (row.wide)
      Pcre2WideOnce(row, Pcre2Options(row), widePattern, wideInputs);
    else
      Pcre2NarrowOnce(row, Pcre2Options(row));
  } else if (row.wide) {
    EngineOnce<UPattern>(row, widePattern, wideInputs);
  } else {
    EngineOnce<Pattern>(row, row.pattern, row.inputs);
  }
}

// Runs one row's sequence a fixed number of times: a run of known length for
// counting instructions (valgrind --tool=callgrind
// --toggle-collect=CountedCalls), where the timed loop's length would vary.
// Both implementations are counted the same way, inside this function only.
__attribute__((noinline)) void CountedCalls(const Row& row, Counted impl, long times,
                                            const std::wstring& widePattern,
                                            const std::vector<std::wstring>& wideInputs) {
  for (long i = 0; i < times; ++i) OnceOf(row, impl, widePattern, wideInputs);
}

// One uncounted run first, so that what happens once per process (binding
// the library calls, the engine's and PCRE2's one-time set-up) stays out of
// the count.
void RunCounted(const Row& row, Counted impl, long times) {
  const std::wstring widePattern = Widen(row.pattern);
  const std::vector<std::wstring> wideInputs = WideInputs(row);
  OnceOf(row, impl, widePattern, wideInputs);
  CountedCalls(row, impl, times, widePattern, wideInputs);
}

}  // namespace

// "--calls=ROW:N" runs row ROW's engine sequence N times and nothing else;
// "--calls=ROW:N:pcre2" runs PCRE2's sequence of the row instead. Otherwise
// the benchmarks run, after the agreement check.
int main(int argc, char** argv) {
  const std::string calls = "--calls=";
  if (argc == 2 && std::string(argv[1]).compare(0, calls.size(), calls) == 0) {
    const std::string arg = argv[1] + calls.size();
    const size_t colon = arg.find(':');
    const size_t second = colon == std::string::npos ? colon : arg.find(':', colon + 1);
    const std::string which = second == std::string::npos ? "engine" : arg.substr(second + 1);
    if (which != "engine" && which != "pcre2") {
      std::fprintf(stderr, "no implementation %s (engine or pcre2)\n", which.c_str());
      return 2;
    }
    for (const Row& row : kRows) {
      if (colon != std::string::npos && arg.compare(0, colon, row.name) == 0 &&
          colon == std::strlen(row.name)) {
        RunCounted(row, which == "pcre2" ? Counted::kPcre2 : Counted::kEngine,
                   std::atol(arg.c_str() + colon + 1));
        return 0;
      }
    }
    std::fprintf(stderr, "no row %s\n", arg.c_str());
    return 2;
  }
  CheckAgreement();
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
