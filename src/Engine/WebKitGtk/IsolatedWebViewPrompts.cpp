#include "Engine/WebKitGtk/FileChooserPrompt.h"
#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Engine/WebKitGtk/ScriptDialogPrompt.h"
#include "Support/MainQueue.h"

// The page's questions to the user. WebKit waits for each answer; the coordinator keeps the prompts
// until they are answered, and closing the view answers the rest with a refusal.

namespace cohortex {

bool IsolatedWebView::Coordinator::runScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog)
{
    if (!ScriptDialogPrompt::handles(dialog))
        return false;
    auto prompt = std::make_unique<ScriptDialogPrompt>(view, dialog, dropWhenAnswered());
    m_prompts.emplace(prompt.get(), std::move(prompt));
    return true;
}

bool IsolatedWebView::Coordinator::runFileChooser(WebKitWebView* view, WebKitFileChooserRequest* request)
{
    auto prompt = std::make_unique<FileChooserPrompt>(view, request, dropWhenAnswered());
    m_prompts.emplace(prompt.get(), std::move(prompt));
    return true;
}

std::function<void(PagePrompt*)> IsolatedWebView::Coordinator::dropWhenAnswered()
{
    return [weak = weak_from_this(), &queue = m_services.queue](PagePrompt* prompt) {
        queue.post([weak, prompt] {
            if (auto self = weak.lock())
                self->m_prompts.erase(prompt);
        });
    };
}

} // namespace cohortex
