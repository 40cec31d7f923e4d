#pragma once

#include "store/recordbrowser.h"

#include <string>

// What `list` prints of one record, appended to a buffer that is written at once.
namespace ListOutput {

// The path as the file system spells it, then indented lines: name, recorded (local, as
// "2027-01-04T07:00:00", when known), one line per tag group ("tags [Priority]: Important"),
// task and contacts (each once).
void AppendText(std::string& out, const SBrowsedRecord& record);

// The record as one element of the JSON array, indented as the element of an array document:
// "contacts", "name", "path" (as shown, for JSON holds text only), "recorded" (null when
// unknown), "seconds" (the length in whole seconds as `info` gives it, null when unknown),
// "tags" (each group with its tags) and "task" (null without one), in that order, the way
// QJsonDocument writes them (QJsonDocument::Indented); no separator after it.
void AppendJson(std::string& out, const SBrowsedRecord& record);

} // namespace ListOutput
