// What the main menu shows instead of itself when the program is started to look at a theme.
#pragma once

namespace qj {

// None: the menu; ThemePreview: the theme's control images; Gallery: a working example of every
// control.
enum class EShowcase { None, ThemePreview, Gallery };

}  // namespace qj
