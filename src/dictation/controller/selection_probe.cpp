#include "dictation/controller/selection_probe.h"

void SelectionProbe::settle(const std::optional<QString>& text)
{
    if (m_known)
        return;
    m_known = true;
    m_text = text;
    emit known();
}
