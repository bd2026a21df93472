#pragma once
// The display texts of the NMEA decoders read back into numbers: what an event file or a
// stored ping keeps ("48.07.038 N", "23-MAR-1994") turned into signed decimal degrees and an
// ISO date for exports. Read without the C library's locale.

#include <optional>
#include <string>
#include <string_view>

// A latitude or longitude text as the decoders write it: the degree digits, ".", the minutes
// with their decimals, a blank and the hemisphere letter, with or without a line end after it.
// South and west ('S', 's', 'W', 'w') are negative, any other letter positive, as the batch end
// signs the decoded values. Nothing for "n/a", an empty text, or a text of another form
// (minutes of 60 or more, more than 90 or 180 degrees).
std::optional<double> ParseCoordinateText(std::string_view text, bool latitude);

// "23-MAR-1994" as "1994-03-23"; nothing for "n/a", a text of another form (an unknown
// month, which the decoders leave empty) or a day the month does not have ("31-FEB-1999",
// "29-FEB-2023").
std::optional<std::string> IsoDateOfText(std::string_view text);

// The text without the blanks, carriage returns and line feeds at its ends.
std::string_view TrimmedText(std::string_view text);
