#pragma once

#include <QString>

// How a character appears in a message: itself in quotes when it can be shown, and always its
// code point ("Ж" (U+0416)); a control character or a lone surrogate as its code point alone.
QString DescribeCharacter(char32_t character);
