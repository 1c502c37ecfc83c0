#include "dictation/controller/pending_selection.h"

void PendingSelection::settle(const std::optional<QString>& text)
{
    if (m_known)
        return;
    m_known = true;
    m_text = text;
    emit known();
}
