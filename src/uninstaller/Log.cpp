// The installation log's item lists and item fields, and the collected list of a walk.
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

}  // namespace

void WalkItems(TWizardState& wizard, std::string_view list, ItemAction action) {
  wizard.Collected.clear();
  wizard.CollectedKeys.clear();
  // The walk works on its own copy: an action may change the text the list came from.
  const std::string items(list);
  ForEachItem(items, [&](std::string_view item) {
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
  ListSort(wizard.Collected, ITEM_DELIM, LS_DESCENDING);
  // The action may be anything; work from a copy and leave Collected empty, as taking the
  // items off one by one does.
  const std::string items = std::move(wizard.Collected);
  wizard.Collected.clear();
  wizard.CollectedKeys.clear();
  ForEachItem(items, [&](std::string_view item) { action(std::string(item)); });
}
