// Classification of maneuver card images, shared with the Qel and Kymor readers.
#pragma once

#include <string_view>

namespace pelmath {

// 1 VPCFIL file card, 2 one VP card (columns 79-80 "VP"), 4 ACC_FILE, 3 other ACC_ card,
// 100 anything else. The card is taken as upper case and blank padded to 80 columns.
int maneuvcardtype(std::string_view card);
// Upper-cases a copy of the card and tells whether its type is 1 to 4.
bool ismaneuvcardtype(std::string_view card);

}  // namespace pelmath
