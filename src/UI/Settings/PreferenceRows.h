#pragma once

#include "Platform/Linux/GSignalConnection.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <functional>
#include <glibmm/ustring.h>
#include <gtkmm/switch.h>
#include <string>
#include <string_view>
#include <vector>

typedef struct _AdwActionRow AdwActionRow;
typedef struct _AdwComboRow AdwComboRow;
typedef struct _AdwPreferencesGroup AdwPreferencesGroup;
typedef struct _AdwPreferencesPage AdwPreferencesPage;
typedef struct _GtkWidget GtkWidget;

namespace cohortex {

class Alerts;

// The pieces the settings pages are built of, so that every page looks and behaves alike. Every text is
// shown as written: libadwaita reads titles as markup by default, and workspace names are the user's.

AdwPreferencesPage* makePage(std::string_view title, std::string_view iconName);
AdwPreferencesGroup* makeGroup(std::string_view title, std::string_view description = {});
AdwActionRow* makeActionRow(std::string_view title, std::string_view subtitle = {});
// A switch at the end of the row; activating the row flips it.
Gtk::Switch* addSwitch(AdwActionRow*);
// A row that picks one of its options, set with setOptions.
AdwComboRow* makeComboRow(std::string_view title, std::string_view subtitle = {});
void setOptions(AdwComboRow*, const std::vector<std::string>&);
// Calls back with the new position whenever the chosen option changes, the changes made by the code
// included; GTK_INVALID_LIST_POSITION when none is chosen.
GSignalConnection onSelected(AdwComboRow*, std::function<void(unsigned)>);
// Calls back on every emission of a signal whose handler takes only the instance ("changed" of an
// editable, "entry-activated" of an entry row).
GSignalConnection onSignal(GtkWidget*, const char* signal, std::function<void()>);

// A wrapping label for lines below the rows (hints, statuses), styled with the classes.
Gtk::Widget* makeNote(std::string_view text, std::initializer_list<const char*> cssClasses);

// Tells the user that a change they made could not be stored.
void tellChangeNotSaved(Alerts&);

} // namespace cohortex
