#pragma once

typedef struct _GtkWidget GtkWidget;

namespace cohortex {

// The Updates tab: how Cohortex is updated here and which version this is. It shows nothing that
// changes while it is open.
GtkWidget* makeUpdatesPage();

} // namespace cohortex
