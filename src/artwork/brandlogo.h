#pragma once

class QPainter;

// The product logo, designed on a 512 × 512 canvas with the origin at the bottom left: a
// gradient tile, two tilted back cards, a clipboard with text bars and a green check badge.
constexpr double brandLogoDesignSize = 512;

// Paints the logo in the painter's current coordinates (see DesignCanvas::begin) for a
// rendering of `pixels` pixels across. Small renderings get a bolder variant whose bars sit on
// whole pixels, since the full design's fine bars would blur into each other there. The
// painter's device must have no device pixel ratio of its own, for the soft shadows.
void paintBrandLogo(QPainter &painter, int pixels);
