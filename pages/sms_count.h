#pragma once
#include <QString>

namespace korvex {

// How much of a text's allowed length a text takes, as the page's counter
// shows it (`12/68`). Every count of an SMS text on the pages goes through
// here, so that another way of counting (GSM septets) changes one place.
int SmsCharacters(const QString& text, bool cyrillic);

}  // namespace korvex
