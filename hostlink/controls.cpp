#include "controls.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace hostlink {

QLabel *label(const QWidget *form, const char *name) {
    return form ? form->findChild<QLabel *>(QString::fromLatin1(name)) : nullptr;
}

QTimer *timer(const QWidget *form, const char *name) {
    return form ? form->findChild<QTimer *>(QString::fromLatin1(name)) : nullptr;
}

QString caption(const QWidget *form, const char *name) {
    const QLabel *l = label(form, name);
    return l ? l->text() : QString();
}

void setCaption(const QWidget *form, const char *name, const QString &text) {
    if (QLabel *l = label(form, name))
        l->setText(text);
}

const char *labelName(settings::Field field) {
    switch (field) {
    case settings::Field::StyleName:
        return "Label12";
    case settings::Field::FontColour:
        return "Label8";
    case settings::Field::AsciiColour:
        return "Label11";
    case settings::Field::FrontAscii:
        return "Label5";
    case settings::Field::MiddleAscii:
        return "Label6";
    case settings::Field::BackAscii:
        break;
    }
    return "Label7";
}

QString LabelRecord::caption(settings::Field field) const {
    return hostlink::caption(m_form, labelName(field));
}

void LabelRecord::setCaption(settings::Field field, const QString &text) {
    hostlink::setCaption(m_form, labelName(field), text);
}

void LabelRecord::setFontFace(const QString &face) {
    // The labels carry fonts of their own, so the window's face shows nowhere.
    QFont font = m_form->font();
    font.setFamily(face);
    m_form->setFont(font);
}

} // namespace hostlink
