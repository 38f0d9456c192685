// The items of the event wizard's tree and the sound settings they stand for.
#pragma once

#include <string>

#include "notices/eventsoundsettings.h"

namespace pendo {

// The setting an item edits, recognised from its text: "告知時" the notice
// sound, "全時報" the every-hour chime, "時報 HH時" the chime of hour HH and
// "時報 HH時30分" its half-hour chime. Null for any other text.
std::string* EventItemSetting(teventsoundsettings& settings, const std::string& text);

// The tree as a form description lists it: the root, the group "サウンド",
// and its fifty items with their images.
std::string EventTreeItems();

}  // namespace pendo
