/* The yardstick for Cohortex's launch and memory figures: the least a WebKitGTK 6.0 browser does.
 * One window; N views, each on a network session of its own (as each workspace has one), all loading
 * the same page; only the first is shown. With --show-each, every view is shown in turn for 0.7 s and
 * then the first again, as a user who looks at each workspace once does: the engine keeps what it
 * needed to draw a view after it was hidden. SIGUSR1 destroys every view but the shown one, which is
 * what hibernating all background workspaces amounts to here.
 *
 *   bare-webkit [--views N] [--show-each] [--data DIR] URL
 */
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <webkit/webkit.h>

static int viewCount = 1;
static const char* dataRoot = NULL;
static const char* url = NULL;
static gboolean showEach = FALSE;

static WebKitNetworkSession* newSession(int index)
{
    if (!dataRoot)
        return webkit_network_session_new_ephemeral();
    char* data = g_strdup_printf("%s/data/%d", dataRoot, index);
    char* cache = g_strdup_printf("%s/cache/%d", dataRoot, index);
    WebKitNetworkSession* session = webkit_network_session_new(data, cache);
    g_free(data);
    g_free(cache);
    return session;
}

static gboolean dropHiddenViews(gpointer stack)
{
    GtkWidget* shown = gtk_stack_get_visible_child(GTK_STACK(stack));
    GtkWidget* child = gtk_widget_get_first_child(GTK_WIDGET(stack));
    while (child) {
        GtkWidget* next = gtk_widget_get_next_sibling(child);
        if (child != shown)
            gtk_stack_remove(GTK_STACK(stack), child);
        child = next;
    }
    return G_SOURCE_CONTINUE;
}

static gboolean showNext(gpointer stack)
{
    static int shown = 0;
    ++shown;
    char* name = g_strdup_printf("view-%d", shown < viewCount ? shown : 0);
    gtk_stack_set_visible_child_name(GTK_STACK(stack), name);
    g_free(name);
    return shown < viewCount ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

static void activate(GtkApplication* app, gpointer unused)
{
    (void)unused;
    GtkWidget* window = gtk_application_window_new(app);
    gtk_window_set_default_size(GTK_WINDOW(window), 1180, 780);
    GtkWidget* stack = gtk_stack_new();
    for (int i = 0; i < viewCount; ++i) {
        WebKitNetworkSession* session = newSession(i);
        GtkWidget* view = g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", session, NULL);
        g_object_unref(session);
        char* name = g_strdup_printf("view-%d", i);
        gtk_stack_add_named(GTK_STACK(stack), view, name);
        g_free(name);
        webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), url);
    }
    gtk_stack_set_visible_child_name(GTK_STACK(stack), "view-0");
    gtk_window_set_child(GTK_WINDOW(window), stack);
    g_unix_signal_add(SIGUSR1, dropHiddenViews, stack);
    if (showEach && viewCount > 1)
        g_timeout_add(700, showNext, stack);
    gtk_window_present(GTK_WINDOW(window));
}

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--views") == 0 && i + 1 < argc)
            viewCount = atoi(argv[++i]);
        else if (strcmp(argv[i], "--show-each") == 0)
            showEach = TRUE;
        else if (strcmp(argv[i], "--data") == 0 && i + 1 < argc)
            dataRoot = argv[++i];
        else
            url = argv[i];
    }
    if (!url || viewCount < 1) {
        fprintf(stderr, "usage: bare-webkit [--views N] [--show-each] [--data DIR] URL\n");
        return 2;
    }
    GtkApplication* app = gtk_application_new(NULL, G_APPLICATION_NON_UNIQUE);
    g_signal_connect(app, "activate", G_CALLBACK(activate), NULL);
    char* appArgv[] = { argv[0], NULL };
    int status = g_application_run(G_APPLICATION(app), 1, appArgv);
    g_object_unref(app);
    return status;
}
