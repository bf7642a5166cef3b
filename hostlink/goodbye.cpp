#include "goodbye.h"

#include "hostlink/chatlink.h"
#include "hostlink/pause.h"

namespace hostlink {

namespace {
Goodbye *g_current = nullptr;
} // namespace

Goodbye::Goodbye() : m_previous(g_current) { g_current = this; }

Goodbye::~Goodbye() { g_current = m_previous; }

void Goodbye::begin() {
    if (m_stage == Stage::Talking)
        m_stage = Stage::Ending;
}

bool isEnding() { return g_current && g_current->m_stage != Goodbye::Stage::Talking; }

bool mayPost() {
    return !g_current || g_current->m_stage == Goodbye::Stage::Talking || g_current->m_closingLine;
}

void sayGoodbye(const QString &first, int seconds, const std::function<QString()> &last) {
    if (g_current) {
        if (g_current->m_stage == Goodbye::Stage::Said)
            return;
        g_current->begin();
    }
    const auto post = [](const QString &line) {
        Goodbye *const goodbye = g_current;
        if (goodbye)
            goodbye->m_closingLine = true;
        chatSend(line, LineKind::Closing);
        if (goodbye)
            goodbye->m_closingLine = false;
    };
    post(first);
    closingPause(seconds);
    post(last());
    if (g_current)
        g_current->m_stage = Goodbye::Stage::Said;
}

} // namespace hostlink
