#pragma once

#include <QString>

// The notation at a glance, with real output of "quessar-cli dados -d -s S EXPRESSION" for
// every entry, and what the marks of a detailed roll mean: what `quessar-cli dados --help`
// prints and the desktop roller shows on F1. Lines fit 80 columns.
QString DiceNotationTable();
