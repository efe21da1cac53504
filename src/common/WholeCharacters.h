#pragma once

class QLineEdit;

// Keeps a box's length limit from splitting a character. The limit counts UTF-16 code units,
// so a character outside the Basic Multilingual Plane (an emoji) typed, pasted, composed or
// set at the limit would be cut between its two halves, and the lone first half would later
// reach the clipboard or a file as "?". Once this is applied, such a cut-off half is taken
// out as soon as it appears: a character that does not fit whole is dropped whole, and the
// cursor stays where the character would have gone.
void KeepCharactersWhole(QLineEdit *box);
