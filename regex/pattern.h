// Public interface of the regular-expression engine (narrow and wide copies).
//
// One backtracking engine is written once over a traits type (traits.h);
// Pattern/Matcher work on std::string, UPattern/UMatcher on std::wstring.
// Compile returns a null pointer after a syntax error, which is reported on
// standard error. The caller owns what Compile and CreateMatcher return; a
// matcher must not outlive its pattern.
#ifndef REGEX_PATTERN_H
#define REGEX_PATTERN_H

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "regex/known_runs.h"
#include "regex/match_budget.h"
#include "regex/node_arena.h"
#include "regex/print_slots.h"
#include "regex/traits.h"

namespace RegexEngine {
struct MemoPlan;
class FailureTable;
class LiteralIndex;
}  // namespace RegexEngine

template <class T>
class BasicNode;
template <class T>
class BasicMatcher;

template <class T>
class BasicPattern : public RegexEngine::PatternPrintSlot<T::kPrints> {
 public:
  using Char = typename T::Char;
  using String = typename T::String;
  using Node = BasicNode<T>;
  using Matcher = BasicMatcher<T>;

  static constexpr unsigned long CASE_INSENSITIVE = 1;
  static constexpr unsigned long LITERAL = 2;
  static constexpr unsigned long DOT_MATCHES_ALL = 4;
  static constexpr unsigned long MULTILINE_MATCHING = 8;
  static constexpr unsigned long UNIX_LINE_MODE = 16;

  // Compiles; null after a syntax error (reported on standard error).
  static BasicPattern* Compile(const String& pattern, unsigned long flags = 0);
  // True when the whole text matches; false also when the pattern fails.
  static bool MatchesStatic(const String& pattern, const String& text, unsigned long flags = 0);
  // The n-th match (from 0) as its text and start index; ("", -1) if none.
  static std::pair<String, int> FindNthMatch(const String& pattern, const String& text, int n,
                                             unsigned long flags = 0);
  static std::vector<String> FindAllStatic(const String& pattern, const String& text,
                                           unsigned long flags = 0);
  static std::vector<String> SplitStatic(const String& pattern, const String& text,
                                         bool keepEmpty = false, unsigned long limit = 0,
                                         unsigned long flags = 0);
  static String ReplaceStatic(const String& pattern, const String& text, const String& replacement,
                              unsigned long flags = 0);
  // Stores (pattern, flags) under the name for "{name}" references; false,
  // with nothing stored, when the pattern does not compile.
  static bool RegisterPattern(const String& name, const String& pattern, unsigned long flags = 0);
  static void UnregisterPatterns();
  // The cached pattern for the text (the flags of the first request win).
  static BasicPattern* GetCachedPattern(const String& pattern, unsigned long flags = 0);
  static void ClearPatternCache();

  ~BasicPattern();
  BasicPattern(const BasicPattern&) = delete;
  BasicPattern& operator=(const BasicPattern&) = delete;

  // A new matcher over a copy of the text, owned by the caller.
  Matcher* CreateMatcher(const String& text);
  // The convenience forms below run on the pattern's own internal matcher.
  bool Matches(const String& text);
  std::vector<String> FindAll(const String& text);
  std::vector<String> Split(const String& text, bool keepEmpty = false, unsigned long limit = 0);
  String Replace(const String& text, const String& replacement);
  unsigned long GetFlags() const { return flags; }
  String GetPattern() const { return patternText; }

  // ---- Used inside the engine only (parser, nodes, matcher). ----
  // Enters the node in the registry and returns it; the pattern destroys it.
  // A node made with new is deleted; the engine's own are made by NewNode.
  template <class N>
  N* RegisterNode(N* node) {
    node->index = static_cast<int>(nodeRegistry.size());
    nodeRegistry.push_back(node);
    return node;
  }
  // A new node in the pattern's arena, registered.
  template <class N, class... Args>
  N* NewNode(Args&&... args) {
    ++nodesInArena;
    return RegisterNode(arena.New<N>(std::forward<Args>(args)...));
  }
  unsigned int ParseInt(int first, int last) const;
  const Node* Head() const { return head; }
  int GroupCount() const { return groupCount; }
  int NonCapGroupCount() const { return nonCapGroupCount; }
  // Which nodes may remember their failures (memo_plan.h); worked out on the
  // first request, which comes only from a match that has run long.
  const RegexEngine::MemoPlan& Plan() const;
  int NodeCount() const { return static_cast<int>(nodeRegistry.size()); }

 private:
  explicit BasicPattern(const String& text);

  // Parser (parser_impl.h).
  Node* Parse(bool inParens, bool inOr, Node** end, int orGroupId, bool orGroupHead);
  Node* ParseGroupStart(Node** end, Node*& head, int& kind, int& id);
  Node* ParseInlineFlags(Node** end, Node*& head, int& kind, int& id);
  Node* ParseAtomEscape();
  Node* Quantify(Node* atom);
  Node* QuantifyGroup(Node* front, Node* tail, int gi);
  bool ReadQuantifier(int& min, int& max);
  bool ParseBounds(int& min, int& max);
  Node* ParseRegisteredPattern(Node** end);
  void JoinAlternative(Node* two, Node* twoEnd, Node* join);
  void RaiseError();

  // Escapes and bracket classes (escapes_impl.h).
  String ParseEscape(bool& inverted, bool& quote);
  String ParseHex();
  String ParseOctal();
  Node* ParseQuote();
  Node* ParseBackref();
  Node* ParseBehind(bool pos, Node** end);
  String ParseClass();
  void ParseClassRange(Char start, String& result);

  // Class texts (class_text_impl.h).
  String ClassCreateRange(Char lo, Char hi) const;
  String ClassNegate(const String& members) const;
  static String ClassUnion(const String& a, const String& b);
  static String ClassIntersect(const String& a, const String& b);
  String ParsePosix();

  Node* MakeClassNode(const String& members, bool inverted);
  Node* MakeDotNode();
  void Finish(Node* end);
  Matcher* InternalMatcher(const String& text);

  static std::map<String, BasicPattern*>& CompiledPatterns();
  static std::map<String, std::pair<String, unsigned long>>& RegisteredPatterns();

  // The memory of the nodes the engine makes and of their tables; declared
  // first, so that it outlives everything that refers into it.
  RegexEngine::NodeArena arena;
  std::vector<Node*> nodeRegistry;     // owns every node of the pattern
  std::size_t nodesInArena = 0;        // made by NewNode
  Matcher* internalMatcher = nullptr;  // made on first use (InternalMatcher)
  Node* head = nullptr;
  String patternText;
  bool hasError = false;
  int parsePos = 0;
  int groupCount = 0;
  int nonCapGroupCount = 0;
  unsigned long flags = 0;
  int parseDepth = 0;             // nesting of parser levels
  std::vector<String> expanding;  // names of "{name}" expansions in progress
  mutable std::once_flag planOnce;
  mutable std::unique_ptr<RegexEngine::MemoPlan> plan;
};

template <class T>
class BasicMatcher {
 public:
  using Char = typename T::Char;
  using String = typename T::String;
  using Pattern = BasicPattern<T>;

  static constexpr unsigned long MATCH_WHOLE_TEXT = 1;

  BasicMatcher(Pattern* pattern, const String& text);
  ~BasicMatcher();
  BasicMatcher(const BasicMatcher&) = delete;
  BasicMatcher& operator=(const BasicMatcher&) = delete;

  bool Matches();
  bool FindFirstMatch();
  bool FindNextMatch();
  String GetGroup(int g) const;
  std::vector<String> GetGroups(bool includeGroupZero) const;
  int GetStartingIndex(int g) const;
  int GetEndingIndex(int g) const;
  std::vector<String> FindAll();
  String ReplaceWithGroups(const String& replacement) const;
  void Reset();
  void SetString(const String& newText);
  String GetText() const { return text; }
  unsigned long GetFlags() const { return matchFlags; }
  void ClearGroups();
  // True when the last operation ended because the match would have nested
  // deeper, or taken more steps, than the engine allows; its answer was then
  // "no match".
  bool LimitExceeded() const { return budget.Exhausted(); }
  // Makes the failure table for the text and mode, when the operation's
  // accounting says that it is due.
  void SwitchOnTable();

  // ---- Match state, read and written by the nodes while they match. ----
  // The arrays are indexed by group id, from -nonCapGroupCount upwards.
  int* groupStarts = nullptr;
  int* groupEnds = nullptr;
  int* loopCounts = nullptr;
  int* loopStarts = nullptr;
  int* loopSavedCounts = nullptr;
  int lastMatchEnd = 0;
  int groupCount = 0;
  int nonCapGroupCount = 0;
  int foundMatch = 0;
  unsigned long matchFlags = 0;
  using Budget = RegexEngine::MatchBudget<BasicMatcher>;
  Budget budget{this};  // the accounting of the current operation
  // Once the failure table is on for the text and mode: the remembered
  // failures of the pattern's nodes and where its long literal texts start.
  std::unique_ptr<RegexEngine::FailureTable> failures;
  std::unique_ptr<RegexEngine::LiteralIndex> literals;
  // Group positions saved by look-aheads and independent groups while their
  // body runs, so that a failure can put them back.
  std::vector<int> savedGroups;
  // What the matcher has learnt of the runs of a repetition's atom in its
  // text, by the repetition node's index (the places are made on first use).
  RegexEngine::KnownRun& KnownRunOf(int nodeIndex) {
    if (!knownRuns) knownRuns.reset(new RegexEngine::KnownRun[pattern->NodeCount()]);
    return knownRuns[nodeIndex];
  }

 private:
  int RunHead(int at);
  void DropTable();

  Pattern* pattern;
  String text;
  int searchStart = 0;
  bool exhausted = false;       // a find answered false; finds stay false until Reset
  unsigned long memoFlags = 0;  // the mode the failure table was made in
  // The five group arrays: inside the matcher for a pattern of up to eight
  // group ids (every pattern of the program), else on the heap.
  static constexpr size_t kInlineInts = 5 * 8;
  int inlineStorage[kInlineInts];
  std::unique_ptr<int[]> heapStorage;
  std::unique_ptr<RegexEngine::KnownRun[]> knownRuns;  // learnt of the text: dropped with it
};

using Pattern = BasicPattern<NarrowTraits>;
using Matcher = BasicMatcher<NarrowTraits>;
using UPattern = BasicPattern<WideTraits>;
using UMatcher = BasicMatcher<WideTraits>;
using NFANode = BasicNode<NarrowTraits>;
using NFAUNode = BasicNode<WideTraits>;

extern template class BasicPattern<NarrowTraits>;
extern template class BasicPattern<WideTraits>;
extern template class BasicMatcher<NarrowTraits>;
extern template class BasicMatcher<WideTraits>;

#endif
