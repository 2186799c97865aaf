// Nodes that shape the chain: its start and end, sub-chain starts and
// accepts, alternation, look-ahead, group boundaries and back references.
#ifndef REGEX_STRUCTURE_NODES_H
#define REGEX_STRUCTURE_NODES_H

#include <algorithm>
#include <vector>

#include "regex/literal_search.h"
#include "regex/node.h"

// Head of every compiled pattern. It writes the start of group 0; in find
// mode it tries each start index in turn, skipping indices where the chain's
// first character cannot stand. A chain that begins with a literal text
// of two or more characters is searched for it instead, in linear time, and
// the rest of the chain runs behind each occurrence. A character that every
// match must hold and that the rest of the text lacks ends the search at
// once.
template <class T>
class BasicStartNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using N = BasicNode<T>;
  int Match(const String& text, Matcher* m, int cur) const override {
    const int len = static_cast<int>(text.size());
    m->groupStarts[0] = cur;
    int r;
    if (needed_ >= 0 &&
        text.find(T::FromCode(static_cast<std::uint32_t>(needed_)), cur) == String::npos) {
      r = -1;
    } else if (m->GetFlags() & Matcher::MATCH_WHOLE_TEXT) {
      if (cur != 0) {
        m->groupStarts[0] = -1;
        return -1;
      }
      r = this->Continue(text, m, 0);
    } else if (afterLiteral_) {
      r = FindAfterLiteral(text, m, cur);
    } else {
      int p = cur;
      r = this->Allows(lead_, text, p) ? this->Continue(text, m, p) : -1;
      while (r == -1 && p < len && !m->budget.Exhausted()) {
        ClearGroups(m);
        ++p;
        if (lead_.Known()) {
          const int from = p;
          while (p < len && !this->Allows(lead_, text, p)) ++p;
          if (!m->budget.Spend(p - from) || p >= len) break;
        }
        m->groupStarts[0] = p;
        r = this->Continue(text, m, p);
      }
    }
    if (r < 0) m->groupStarts[0] = -1;
    return r;
  }
  bool ReadsCapturesOrStart() const override { return false; }
  void Prepare() override {
    lead_ = this->LeadOf(this->next);
    // The last character that some node along the one path of every match
    // needs.
    const N* n = this->next;
    for (int hops = 0; n && hops < 100000; n = n->Onward(), ++hops) {
      if (n->RequiredChar() >= 0) needed_ = n->RequiredChar();
    }
    const N* first = this->next;
    for (int hops = 0; first && first->IsPassThrough() && hops < 64; ++hops) first = first->next;
    bool ci = false;
    const String* literal = first ? first->LiteralText(ci) : nullptr;
    if (literal && literal->size() >= 2 && first->next) {
      search_ = RegexEngine::BasicLiteralSearch<T>(*literal, ci);
      afterLiteral_ = first->next;
    }
  }

 private:
  // The pass-through nodes before the literal and the literal itself are
  // stateless, so each occurrence continues straight after the literal.
  int FindAfterLiteral(const String& text, Matcher* m, int cur) const {
    typename RegexEngine::BasicLiteralSearch<T>::Cursor cursor{cur, 0};
    int r = -1;
    for (;;) {
      long long read = 0;
      const int at = search_.Next(text, cursor, &read);
      if (!m->budget.Spend(read) || at < 0) break;
      if (at > cur) ClearGroups(m);
      m->groupStarts[0] = at;
      r = this->Run(afterLiteral_, text, m, at + search_.Length());
      if (r != -1 || m->budget.Exhausted()) break;
    }
    return r;
  }

  // Clears the groups between two start positions, one step per group.
  static void ClearGroups(Matcher* m) {
    m->ClearGroups();
    m->budget.Spend(m->groupCount + m->nonCapGroupCount);
  }

  typename N::Lead lead_;  // what the chain needs at a start index
  long needed_ = -1;       // a character every match holds, or -1
  RegexEngine::BasicLiteralSearch<T> search_;
  const N* afterLiteral_ = nullptr;
};

// Tail of every compiled pattern: writes the end of group 0.
template <class T>
class BasicEndNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  int Match(const String& text, Matcher* m, int cur) const override {
    m->groupEnds[0] = cur;
    if ((m->GetFlags() & Matcher::MATCH_WHOLE_TEXT) && cur != static_cast<int>(text.size())) {
      m->groupEnds[0] = -1;
      return -1;
    }
    return cur;
  }
  bool ReadsCapturesOrStart() const override { return false; }
};

template <class T>
class BasicSubStartNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  int Match(const String& text, Matcher* m, int cur) const override {
    return this->Continue(text, m, cur);
  }
  bool IsTransparent() const override { return true; }
  bool IsPassThrough() const override { return true; }
  bool ReadsCapturesOrStart() const override { return false; }
};

// End of an inner chain (returns its index) or a join (continues). The
// Accept node that ends an alternative whose walk to the join stopped at an
// inner Or node (b|c in a|b|c, or a group holding '|' at the end of an
// alternative) resumes at that join: so the rest of the pattern runs inside
// the alternative, and a failure of the rest backtracks into it.
template <class T>
class BasicAcceptNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using N = BasicNode<T>;
  int Match(const String& text, Matcher* m, int cur) const override {
    if (this->next) return this->Continue(text, m, cur);
    return resume ? this->Run(resume, text, m, cur) : cur;
  }
  bool IsTransparent() const override { return this->next != nullptr; }
  bool IsPassThrough() const override { return this->next != nullptr; }
  const N* Onward() const override { return this->next ? this->next : resume; }
  void AppendLinks(std::vector<N*>& out) const override {
    if (resume) out.push_back(resume);
  }
  bool ReadsCapturesOrStart() const override { return false; }
  // Joins and further resuming Accept nodes only hand on: resume past them.
  void Prepare() override {
    for (int hops = 0; resume && hops < 100000; ++hops) {
      const auto* accept = dynamic_cast<const BasicAcceptNode*>(resume);
      N* onward = accept ? (accept->next ? accept->next : accept->resume) : nullptr;
      if (!onward) break;
      resume = onward;
    }
  }
  N* resume = nullptr;
};

// Alternation: alternative one first; when it or the rest fails, two. An Or
// node whose alternatives reach its successor through their own end
// (joinedInside) does not run the successor again after them.
template <class T>
class BasicOrNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using N = BasicNode<T>;
  BasicOrNode(N* a, N* b) : one(a), two(b) {}
  int Match(const String& text, Matcher* m, int cur) const override {
    return this->Remembered(m, cur, [&] { return Alternatives(text, m, cur); });
  }
  // The alternatives part before their join: no single path to follow.
  const N* Onward() const override { return nullptr; }
  void AppendLinks(std::vector<N*>& out) const override {
    if (one) out.push_back(one);
    if (two) out.push_back(two);
  }
  bool ReadsCapturesOrStart() const override { return false; }
  bool MayRemember() const override { return true; }
  N* one;
  N* two;
  bool joinedInside = false;

 private:
  int Alternatives(const String& text, Matcher* m, int cur) const {
    N* rest = joinedInside ? nullptr : this->next;
    int r = this->Run(one, text, m, cur);
    if (r != -1 && rest) r = this->Run(rest, text, m, r);
    if (r != -1 || m->budget.Exhausted()) return r;
    r = this->Run(two, text, m, cur);
    if (r == -1) return -1;
    return rest ? this->Run(rest, text, m, r) : r;
  }
};

// "(?=" and "(?!": runs the inner chain without consuming. Groups set inside
// a matching positive look-ahead stay set when the rest matches; they are put
// back when the rest fails, and always after a negative look-ahead, whose
// body's groups never take part in a match.
template <class T>
class BasicLookAheadNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  using N = BasicNode<T>;
  BasicLookAheadNode(N* in, bool p) : pos(p), inner(in) {}
  int Match(const String& text, Matcher* m, int cur) const override {
    const size_t mark = this->SaveGroups(m, groups_);
    int r = this->Run(inner, text, m, cur);
    if ((r != -1) != pos || m->budget.Exhausted()) {
      this->DropSavedGroups(m, groups_, mark, true);
      return -1;
    }
    if (!pos) this->DropSavedGroups(m, groups_, mark, true);
    r = this->Continue(text, m, cur);
    if (pos) this->DropSavedGroups(m, groups_, mark, r == -1);
    return r;
  }
  void AppendLinks(std::vector<N*>& out) const override {
    if (inner) out.push_back(inner);
  }
  void Prepare() override { groups_ = this->GroupsWithin(inner); }
  bool ReadsCapturesOrStart() const override { return false; }
  bool pos;
  N* inner;

 private:
  std::vector<int> groups_;  // capturing groups inside the body
};

// Opening (Head) and closing (Tail) of group gi: records the index in
// groupStarts or groupEnds and puts the old value back when the rest fails.
template <class T, bool Head>
class BasicGroupEdgeNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  explicit BasicGroupEdgeNode(int g) : gi(g) {}
  int Match(const String& text, Matcher* m, int cur) const override {
    int* slot = Head ? &m->groupStarts[gi] : &m->groupEnds[gi];
    int old = *slot;
    *slot = cur;
    int r = this->Continue(text, m, cur);
    if (r < 0) *slot = old;
    return r;
  }
  bool IsGroupHeadNode() const override { return Head; }
  bool IsTransparent() const override { return true; }
  int CapturingGroup() const override { return gi > 0 ? gi : 0; }
  bool ReadsCapturesOrStart() const override { return false; }
  int gi;
};

template <class T>
using BasicGroupHeadNode = BasicGroupEdgeNode<T, true>;
template <class T>
using BasicGroupTailNode = BasicGroupEdgeNode<T, false>;

// Back reference: the text of group gi again. A group the pattern lacks, one
// never set, one still open or one that matched empty matches the empty
// string. It reads what the group captured, so it keeps the default answer
// of ReadsCapturesOrStart.
template <class T>
class BasicReferenceNode : public BasicNode<T> {
 public:
  REGEX_PRINT_LINES
  using typename BasicNode<T>::String;
  using typename BasicNode<T>::Matcher;
  explicit BasicReferenceNode(int g) : gi(g) {}
  int Match(const String& text, Matcher* m, int cur) const override {
    if (gi > 0 && gi < m->groupCount) {
      const int s = m->groupStarts[gi];
      const int e = m->groupEnds[gi];
      const int n = e - s;
      if (s >= 0 && e >= s && n != 0) {
        if (cur > static_cast<int>(text.size()) - n) return -1;
        if (!m->budget.Spend(n) || text.compare(cur, n, text, s, n) != 0) return -1;
        return this->Continue(text, m, cur + n);
      }
    }
    return this->Continue(text, m, cur);
  }
  int gi;
};

#endif
