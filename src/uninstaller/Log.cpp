// The installation log's item lists and item fields, the display form of items, and the
// collected list of a walk.
#include <algorithm>
#include <vector>

#include "text/Strut.h"
#include "uninstaller/Uuninst.h"

std::string ListItems(std::string_view text, std::string_view section, std::string_view key) {
  std::string list;
  KeyTextGet(text, section, key, &SyntaxList, list);
  return list;
}

std::string ItemField(std::string_view field) {
  std::string value;
  KeyTextGet(Uninstall.CurrentItem, "", field, &SyntaxItem, value);
  return value;
}

void AppendListItem(std::string& text, std::string_view key, std::string_view item) {
  std::string list;
  KeyTextGet(text, SECTION_UNINSTALL, key, &SyntaxRaw, list);
  list += "\r\n\"";
  list += item;
  KeyTextSet(text, SECTION_UNINSTALL, key, list, &SyntaxRaw);
}

namespace {

struct ItemKind {
  std::string_view Word;  // the kind word of the display form
  std::string_view List;  // the list of section "UNINSTALL" its items belong to
};

constexpr ItemKind ITEM_KINDS[] = {
    {"FILE", LIST_FILES}, {"SHORTCUT", LIST_LINKS}, {"REGISTER", LIST_REGISTERS}};
constexpr char KIND_SEPARATOR[] = ": ";

}  // namespace

std::string DisplayEntry(std::string_view listKey, std::string_view item) {
  for (const ItemKind& kind : ITEM_KINDS)
    if (kind.List == listKey) return std::string(kind.Word) + KIND_SEPARATOR + std::string(item);
  return std::string(item);
}

bool SplitDisplayEntry(const std::string& entry, std::string& listKey, std::string& item) {
  item = entry;
  std::string word;
  ListTake(item, word, DelimSet(KIND_SEPARATOR), 0, LT_REMOVE);
  for (const ItemKind& kind : ITEM_KINDS) {
    if (kind.Word == word) {  // exact: the kind words are the program's own
      listKey = kind.List;
      return true;
    }
  }
  listKey.clear();
  item.clear();
  return false;
}

namespace {

// Calls visit for each item of a 0xA7-separated list, front to back. This is what taking the
// first item off the list again and again gives, without recopying the rest each time.
template <class Visit>
void ForEachItem(std::string_view list, Visit visit) {
  size_t start = 0;
  for (;;) {
    const size_t end = list.find(ITEM_SEP, start);
    visit(list.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

// The form under which two items count as equal: ASCII letters folded to upper case.
std::string Folded(std::string_view item) {
  std::string key(item);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return key;
}

// Orders Collected descending as the list sort does, in n log n comparisons: no two of its
// items compare equal (it holds each folded form once), so every correct sort gives the
// exchange sort's order. Empty items keep their places, as they do there.
std::string SortedDescending(const std::string& list) {
  std::vector<std::string_view> items;
  ForEachItem(list, [&](std::string_view item) { items.push_back(item); });
  std::vector<std::string_view> filled;
  for (const auto item : items)
    if (!item.empty()) filled.push_back(item);
  std::sort(filled.begin(), filled.end(), [](std::string_view a, std::string_view b) {
    TMem_Compare result;
    TextCompare(a, b, 0, 0, result);
    return result.Outcome == CMP_GREATER;
  });
  std::string sorted;
  sorted.reserve(list.size());
  auto next = filled.begin();
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) sorted += ITEM_SEP;
    if (!items[i].empty()) sorted += *next++;
  }
  return sorted;
}

}  // namespace

void WalkItems(TWizardState& wizard, std::string list, const ItemAction& action) {
  wizard.Collected.clear();
  wizard.CollectedKeys.clear();
  // The walk owns its list: an action may change the text the list came from.
  ForEachItem(list, [&](std::string_view item) {
    if (item.empty()) return;
    Uninstall.CurrentItem.assign(item);
    action(wizard);
  });
}

void CollectItem(TWizardState& wizard, std::string_view item) {
  // An empty item never equals another (the list comparison rejects empty texts).
  if (!item.empty() && !wizard.CollectedKeys.insert(Folded(item)).second) return;
  if (!wizard.Collected.empty()) wizard.Collected += ITEM_SEP;
  wizard.Collected += item;
}

void DrainCollected(TWizardState& wizard, CollectedAction action) {
  if (wizard.Collected.empty()) return;
  // The action may be anything; work from the sorted copy and leave Collected empty, as
  // taking the items off one by one does.
  const std::string items = SortedDescending(wizard.Collected);
  wizard.Collected.clear();
  wizard.CollectedKeys.clear();
  ForEachItem(items, [&](std::string_view item) { action(std::string(item)); });
}
