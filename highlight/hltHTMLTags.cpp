// Tag-name and entity recognition of the HTML highlighter.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "highlight/hltCharClass.h"
#include "highlight/hltHTML.h"
#include "highlight/hltHTMLTables.h"

namespace {

constexpr std::int32_t TagCharValueOf(unsigned c) {
  if (c == '!') return 123;
  if (c == '/') return 122;
  if (hltIsLetter(c)) return static_cast<std::int32_t>((c & ~0x20u) - 64);
  return 0;
}

constexpr int NameHash(std::string_view name) {
  int hash = 0;
  for (const char c : name)
    hash += c >= '0' && c <= '9' ? c - '0' : TagCharValueOf(static_cast<unsigned char>(c));
  return hash;
}

constexpr bool TagSlotsAreConsistent() {
  int names = 0;
  int previousHash = -1;
  for (const ThltTagSlot& slot : TagSlots) {
    if (slot.Hash <= previousHash || slot.Hash >= TagSlotCount || slot.Names[0].empty()) return false;
    previousHash = slot.Hash;
    for (const std::string_view& name : slot.Names) {
      if (!name.empty() && NameHash(name) != slot.Hash) return false;
      names += name.empty() ? 0 : 1;
    }
  }
  return names == 198;
}

static_assert(sizeof(TagSlots) / sizeof(TagSlots[0]) == 135);
static_assert(TagSlotsAreConsistent(), "every listed name must hash to its own slot");
static_assert(EntityCount == 151);

constexpr unsigned char FoldCase(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

// The entities grouped by the case-folded character after "&", each group in
// table order, so that a look-up compares only the few strings that can match
// and still finds the first match of the whole table.
struct TEntityBuckets {
  std::uint8_t Start[257];  // group c is Order[Start[c]] up to Order[Start[c + 1]]
  std::uint8_t Order[EntityCount];
};

constexpr TEntityBuckets MakeEntityBuckets() {
  TEntityBuckets buckets{};
  int count = 0;
  for (unsigned c = 0; c < 256; ++c) {
    buckets.Start[c] = static_cast<std::uint8_t>(count);
    for (int i = 0; i < EntityCount; ++i)
      if (FoldCase(static_cast<unsigned char>(EntityNames[i][1])) == c)
        buckets.Order[count++] = static_cast<std::uint8_t>(i);
  }
  buckets.Start[256] = static_cast<std::uint8_t>(count);
  return buckets;
}

constexpr TEntityBuckets EntityBuckets = MakeEntityBuckets();
static_assert(EntityBuckets.Start[256] == EntityCount,
              "every entity starts with \"&\" and one more character");

// Compares from character from on. The text is NUL-terminated and no entity
// string holds a NUL, so the comparison stops at the text's end at the latest.
bool StartsWithEntity(const unsigned char* text, std::string_view entity, std::size_t from) {
  for (std::size_t i = from; i < entity.size(); ++i)
    if (FoldCase(text[i]) != FoldCase(static_cast<unsigned char>(entity[i]))) return false;
  return true;
}

constexpr std::array<std::int32_t, 256> MakeTagCharValues() {
  std::array<std::int32_t, 256> values{};
  for (unsigned c = 0; c < 256; ++c) values[c] = TagCharValueOf(c);
  return values;
}

}  // namespace

constexpr std::array<std::int32_t, 256> TagCharValue = MakeTagCharValues();

template <std::size_t Index>
THtmlTokenKind ThltHTMLRTF::MatchTagSlot() {
  for (const std::string_view name : TagSlots[Index].Names)
    if (!name.empty() && TagEquals(name)) return htListedTag;
  return htUnlistedTag;
}

template <std::size_t... Indices>
void ThltHTMLRTF::BindTagSlots(std::index_sequence<Indices...>) {
  ((FTagFuncs[TagSlots[Indices].Hash] = &ThltHTMLRTF::MatchTagSlot<Indices>), ...);
}

void ThltHTMLRTF::BuildTagFuncs() {
  static_assert(sizeof(FTagFuncs) / sizeof(FTagFuncs[0]) == TagSlotCount);
  std::fill(std::begin(FTagFuncs), std::end(FTagFuncs), &ThltHTMLRTF::NoTag);
  BindTagSlots(std::make_index_sequence<sizeof(TagSlots) / sizeof(TagSlots[0])>());
}

THtmlTokenKind ThltHTMLRTF::TagKind(const char* position) {
  FWordStart = position;
  const std::int32_t hash = TagHash(position);
  if (hash >= TagSlotCount) return htName;
  return (this->*FTagFuncs[hash])();
}

std::int32_t ThltHTMLRTF::TagHash(const char* position) {
  const unsigned char* start = reinterpret_cast<const unsigned char*>(position);
  const unsigned char* p = start;
  // Wide enough that no word can overflow it; only "244 or more" matters
  // beyond the slot table.
  std::int64_t hash = 0;
  while (hltHasClass(*p, ccTagWord)) hash += TagCharValue[*p++];
  while (hltHasClass(*p, ccDigit)) hash += *p++ - '0';
  FWordLength = static_cast<std::int32_t>(p - start);
  return static_cast<std::int32_t>(std::min<std::int64_t>(hash, std::numeric_limits<std::int32_t>::max()));
}

bool ThltHTMLRTF::TagEquals(std::string_view name) {
  FCompareCursor = FWordStart;
  if (name.size() != static_cast<std::size_t>(FWordLength)) return false;
  for (const char c : name) {
    if (TagCharValue[static_cast<unsigned char>(*FCompareCursor)] !=
        TagCharValue[static_cast<unsigned char>(c)])
      return false;
    ++FCompareCursor;
  }
  return true;
}

THtmlTokenKind ThltHTMLRTF::NoTag() { return htUnlistedTag; }

int ThltHTMLRTF::FindEntity(const char* position) {
  const unsigned char* text = reinterpret_cast<const unsigned char*>(position);
  if (text[0] != '&') return -1;
  const unsigned key = FoldCase(text[1]);
  for (int k = EntityBuckets.Start[key]; k < EntityBuckets.Start[key + 1]; ++k) {
    const int index = EntityBuckets.Order[k];
    if (StartsWithEntity(text, EntityNames[index], 2)) return index;
  }
  return -1;
}

bool ThltHTMLRTF::EntityMatches(int index, const char* position) {
  return StartsWithEntity(reinterpret_cast<const unsigned char*>(position), EntityNames[index], 0);
}
