#include "Models/LocalPage.h"

#include "Support/Translation.h"

namespace cohortex {

namespace {

constexpr std::string_view style
    = "body{font-family:sans-serif;max-width:36em;margin:4em auto;padding:0 1em;line-height:1.5;"
      "color:#222;background:#fafafa}"
      "@media (prefers-color-scheme:dark){body{color:#eee;background:#242424}}"
      "a.button{display:inline-block;font:inherit;padding:.4em 1.2em;margin:.5em .5em 0 0;border-radius:6px;"
      "border:1px solid #888;background:transparent;color:inherit;cursor:pointer;text-decoration:none}"
      "a.primary{background:#3584e4;border-color:#3584e4;color:#fff}"
      "details{margin-top:2em}";

void appendButton(std::string& html, const LocalPage::Button& button, bool primary)
{
    html += std::string("<a class=\"button") + (primary ? " primary" : "") + "\" href=\""
        + escapeHtml(button.href) + "\">" + escapeHtml(button.label) + "</a>";
}

void appendParagraphs(std::string& html, const std::vector<std::string>& paragraphs)
{
    for (const auto& paragraph : paragraphs)
        html += "<p>" + escapeHtml(paragraph) + "</p>";
}

} // namespace

std::string PageAction::href(std::string_view token, std::string_view action)
{
    return std::string(scheme) + ":" + std::string(token) + "/" + std::string(action);
}

std::string escapeHtml(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string renderLocalPage(const LocalPage& page)
{
    std::string html = "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                       "<meta name=\"color-scheme\" content=\"light dark\"><title>"
        + escapeHtml(page.title) + "</title><style>" + std::string(style) + "</style></head><body><h1>"
        + escapeHtml(page.heading) + "</h1>";
    appendParagraphs(html, page.paragraphs);
    if (!page.buttons.empty()) {
        html += "<p>";
        for (std::size_t index = 0; index < page.buttons.size(); ++index)
            appendButton(html, page.buttons[index], index == 0);
        html += "</p>";
    }
    if (!page.details.empty() || !page.detailButtons.empty()) {
        html += "<details><summary>" + escapeHtml(_("Details")) + "</summary>";
        appendParagraphs(html, page.details);
        for (const auto& button : page.detailButtons)
            appendButton(html, button, false);
        html += "</details>";
    }
    return html + "</body></html>";
}

} // namespace cohortex
