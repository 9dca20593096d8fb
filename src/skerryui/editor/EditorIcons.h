#pragma once

#include <QIcon>

namespace skerry {

// Icon sizes of the editor's two toolbars: the tall one (540 twips, 36 pixels) and the small
// one (420 twips, 28 pixels).
inline constexpr int LargeToolbarHeight = 36;
inline constexpr int SmallToolbarHeight = 28;
inline constexpr int LargeToolIcon = 26;
inline constexpr int SmallToolIcon = 20;

// The picture of editor toolbar button 1..5, 7, 8 or 9, drawn at both toolbar sizes: zoom, remove
// the point at the cursor, remove to the left or right, restore the point at the cursor,
// restore to the left or right, accept and leave, discard and leave, suggest edits.
QIcon editorToolIcon(int button);

} // namespace skerry
