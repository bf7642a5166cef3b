#pragma once

#include "session/sessionmodel.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace styleshop {

// The style shop (design name Form2): a black, frameless, topmost window
// listing the 25 ready-made styles under a title entry. It announces its load
// and unload in the room; whoever owns it (the program's window registry)
// creates it, calls load() before first showing it, and on unloadRequested()
// calls unload() and destroys it.
class StyleShop final : public QWidget {
    Q_OBJECT
public:
    // `session` holds the style in effect, which the shop reads and changes;
    // `mainStrip` is the main window, which the shop shows again after a drag
    // or a title click.
    StyleShop(session::SessionModel &session, QWidget *mainStrip, QWidget *parent = nullptr);

    // Posts the load line; a shop already loaded posts nothing.
    void load();
    // Posts the unload line and leaves the screen; only the first call after
    // a load does anything.
    void unload();
    bool isLoaded() const { return m_loaded; }

    // A press on the background: drag, then show the main strip.
    void pressBackground();
    // A click on the title: the main strip shows again and the shop asks to
    // be unloaded. A double click on it only asks.
    void goBack();
    void askToUnload();

    // Applies the ready-made style of that number, as entry N of the shop
    // does (its object name is LabelN; there is no style 3: Label3 is the
    // title).
    void applyStyleNumbered(int number);

Q_SIGNALS:
    // The shop asks to be unloaded (its title was clicked).
    void unloadRequested();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void reloadStyle();
    void showMainStrip();

    session::SessionModel &m_session;
    QPointer<QWidget> m_mainStrip;
    bool m_loaded = false;
};

} // namespace styleshop
