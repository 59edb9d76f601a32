#pragma once

#include <gtk/gtk.h>

#include "glib/GObjectRef.h"

namespace plintor {

// The kiosk's answers over the page (the return warning, the blocked address, the page that
// cannot be loaded) are built alike: a column a screen reader announces as an alert by a
// fixed name, and texts that wrap at the column's width.

// A vertical box announced as an alert named `name`.
GObjectRef<GtkWidget> newAlertBox(const char* name);
// The alert's description is what `message` says: read on demand, not announced each time the
// text changes (a countdown would be announced every second).
void describeAlert(GtkWidget* alert, GtkWidget* message);
// A centred label that wraps at the width its box gives it, never widening the box.
GtkWidget* newWrappingLabel();

}  // namespace plintor
