// Whether a file name matches what a user typed to find it, the way a user
// of a shell or of DOS expects: "*" stands for any run of characters, "?"
// for any one character, and a pattern without either finds names holding
// it anywhere. Letters match without regard to case (ASCII only, as names
// are folded everywhere else).
#ifndef CORVANE_TEXT_NAME_MATCH_H
#define CORVANE_TEXT_NAME_MATCH_H

#include <string_view>

namespace corvane {

// Whether the pattern holds "*" or "?", and so matches whole names.
bool hasWildcard(std::string_view pattern);

// "pay" matches "old_pay.c"; "pay_*" matches "PAY_2024.c" but not
// "old_pay_x.c"; "?.c" matches "a.c" only. The empty pattern matches every
// name.
bool matchesName(std::string_view name, std::string_view pattern);

}  // namespace corvane

#endif  // CORVANE_TEXT_NAME_MATCH_H
