#pragma once

class QWebEngineView;

namespace plintor {

// Keeps the browser's own user interface away from the visitor, as the host's command rules
// say: no context menu, no borders or text selection outside fields, no print, save, find or
// close, no full screen, no permission, authentication or certificate prompts. A forged or
// invalid certificate is refused, never accepted silently.
void guardHostUi(QWebEngineView& view);

}  // namespace plintor
