// The groups of the Erase Items dialog's check boxes. Each of the first six
// carries a "Check All Items" / "Check None" radio pair; the drive scan's
// box stands alone. The built-in item table names each item's group.
#pragma once

namespace cindral::selection {

enum class ItemGroup { Windows, InternetExplorer, Netscape, Opera, Aol, DriveScan, Plugins };

// The groups with a radio pair, in the dialog's order of pages.
constexpr ItemGroup kRadioGroups[] = {ItemGroup::Windows,  ItemGroup::InternetExplorer,
                                      ItemGroup::Netscape, ItemGroup::Opera,
                                      ItemGroup::Aol,      ItemGroup::Plugins};

}  // namespace cindral::selection
