// Justified text. The layout library sets justified lines flush left; after each layout the
// spaces of every full line of a justified block are widened until the line reaches the block's
// right edge (or a float's). A paragraph's last line and lines ended by <br> stay as they are.
#pragma once

#include <litehtml/litehtml.h>

namespace quire::engine::html {

void JustifyLines(const litehtml::element::ptr& root);

}  // namespace quire::engine::html
