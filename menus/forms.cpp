#include "forms.h"

#include "dialogs.h"

#include <QCoreApplication>

namespace menus {

namespace {
// Unloads a window: its unload handler, then it goes. Any event loop that
// runs later may destroy it, a pause inside a handler still on the stack
// among them: a handler that unloads its own window touches nothing of it after.
template <typename Window> void unload(QPointer<Window> &slot) {
    Window *window = slot;
    if (!window)
        return;
    window->Form_Unload();
    slot = nullptr;
    window->hide();
    window->deleteLater();
}
} // namespace

Forms::Forms(QWidget *form1) : m_form1(form1), m_end([] { QCoreApplication::exit(0); }) {}

Forms::~Forms() {
    delete m_form2.data();
    delete m_form3.data();
    delete m_form4.data();
}

Form3 *Forms::form3() {
    if (!m_form3) {
        m_form3 = new Form3(*this);
        connect(m_form3, &Form3::idleSwitched, this, &Forms::idleSwitched);
        m_form3->Form_Load();
    }
    return m_form3;
}

Form4 *Forms::form4() {
    if (!m_form4) {
        m_form4 = new Form4(*this);
        m_form4->Form_Load();
    }
    return m_form4;
}

void Forms::showForm2() {
    if (!m_form2) {
        m_form2 = new styleshop::Form2(m_form1);
        connect(m_form2, &styleshop::Form2::unloadRequested, this, &Forms::unloadForm2);
        m_form2->Form_Load();
    }
    m_form2->show();
}

void Forms::unloadForm2() { unload(m_form2); }

void Forms::unloadForm3() { unload(m_form3); }

void Forms::unloadForm4() { unload(m_form4); }

void Forms::unloadProgram() {
    if (!m_ending)
        form3()->Label6_Click();
}

bool Forms::startEnding() {
    if (m_ending)
        return false;
    m_ending = true;
    m_goodbye.begin();
    return true;
}

std::optional<QString> Forms::ask(const QString &prompt) {
    QString answer = dialogs::askText(prompt);
    if (m_ending)
        return std::nullopt;
    return answer;
}

void Forms::endProgram() { m_end(); }

void Forms::setEndProgram(std::function<void()> end) { m_end = std::move(end); }

} // namespace menus
