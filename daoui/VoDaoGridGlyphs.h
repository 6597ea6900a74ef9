#pragma once
// The grid's small pictures: the menu glyph of the menu cell (7 × 11) and
// the sort-direction arrows of index fields (10 × 10). Each is painted on
// silver, and silver is its transparent colour.
#include <QColor>
#include <QPixmap>

namespace vodao {

inline const QColor kGlyphTransparent(192, 192, 192);

const QPixmap& MenuGlyph(); // MENUBMP
const QPixmap& AscGlyph();  // ASC
const QPixmap& DescGlyph(); // DESC

} // namespace vodao
