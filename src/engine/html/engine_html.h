// The HTML engine's public face. Programs use pages only through these: the frame viewer
// (a page or frameset on screen, with history), the document view (one page: find,
// selection, copy, object under the pointer, drop-down lists; also hidden, for searches), the
// printer, link names, and the page render and text functions for authors. Nothing here
// exposes the layout library.
#pragma once

#include "engine/html/document_view.h"
#include "engine/html/frame_viewer.h"
#include "engine/html/html_error.h"
#include "engine/html/html_printer.h"
#include "engine/html/names.h"
#include "engine/html/page_render.h"
#include "engine/html/viewer_events.h"
#include "engine/html/viewer_settings.h"
