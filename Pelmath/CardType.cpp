// Maneuver card types by fixed columns.
#include "Pelmath/CardType.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace pelmath {
namespace {

// Columns first..first+len-1 (1-based) of the card padded with blanks.
bool columnsAre(std::string_view card, size_t first, std::string_view text) {
  for (size_t k = 0; k < text.size(); ++k) {
    const size_t i = first - 1 + k;
    const char c = i < card.size() ? card[i] : ' ';
    if (c != text[k]) return false;
  }
  return true;
}

}  // namespace

int maneuvcardtype(std::string_view card) {
  if (columnsAre(card, 1, "VPCFIL")) return 1;
  if (columnsAre(card, 79, "VP")) return 2;
  if (columnsAre(card, 1, "ACC_FILE")) return 4;
  if (columnsAre(card, 1, "ACC_")) return 3;
  return 100;
}

bool ismaneuvcardtype(std::string_view card) {
  std::string upper(card);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const int type = maneuvcardtype(upper);
  return type >= 1 && type <= 4;
}

}  // namespace pelmath
