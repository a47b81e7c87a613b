#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Every text a user reads goes through these, so that translators can work from a catalogue that
// xgettext extracts (scripts/update-pot). The English texts are the message ids: with no catalogue for
// the user's language, the program reads exactly as written.
//
//   _("Text")                 translated now
//   N_("Text")                only marked, for constants translated where they are shown: _(constant)
//   C_("context", "Text")     the same English word meaning different things ("Open" a file, a door)
//   P_("One", "Many", count)  the form the user's language needs for that count
//
// Values go into a translated text through fillIn, never by gluing pieces together, so that a
// translation can move them: fillIn(_("Lock {} in Cohortex"), name). "{0}", "{1}" name them by position
// where a language needs another order.
namespace cohortex {

// The translation domain: the name of the installed catalogues (cohortex.mo).
inline constexpr const char* translationDomain = "cohortex";

// Binds the domain to the folder the catalogues are installed in and takes the user's language for
// messages. Called once, at the start of the program, before any text is translated.
void useTranslations(const char* localeFolder);

// The translation of a message id, or the id itself when there is none. The pointer stays valid for the
// whole run (it points into the catalogue or at the id).
const char* translate(const char* messageId);
// The same for a marked constant kept as a view or a text made at run time.
std::string translate(std::string_view messageId);
const char* translateInContext(const char* contextAndId, const char* messageId);
const char* translatePlural(const char* singular, const char* plural, unsigned long count);

// The text with each "{}" replaced by the next value, each "{N}" by the Nth (from 0). "{{" and "}}" are
// literal braces. A placeholder with no value is kept as written, so a translation with one too many
// shows that rather than failing.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values);

template <typename... Values>
std::string fillIn(std::string_view text, const Values&... values)
{
    return fillIn(text, { std::string_view(values)... });
}

} // namespace cohortex

#define _(messageId) ::cohortex::translate(messageId)
#define N_(messageId) messageId
#define C_(context, messageId) ::cohortex::translateInContext(context "\004" messageId, messageId)
#define P_(singular, plural, count) ::cohortex::translatePlural(singular, plural, count)
