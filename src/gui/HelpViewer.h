#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QSplitter;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvanta {

class HelpWindow;

// The help window over its core state: the contents of both help documents beside the page,
// back and forward, zoom, and a search within the page. Links go to the core, which decides
// where they lead; the window follows HelpWindow::onChanged.
class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    HelpViewer(HelpWindow &window, QWidget *parent = nullptr);
    ~HelpViewer() override;

    QTextBrowser *browser() const { return browser_; }
    QTreeWidget *contents() const { return contents_; }
    QLineEdit *findField() const { return findField_; }

    // Where the window opens: its size (at most the available area) beside the owner's frame, on
    // the side with more room, inside the available area of the owner's screen.
    static QRect placeBeside(const QRect &owner, const QSize &wanted, const QRect &available);

    // The stored size, widened where the contents' longest entry needs more than three fifths of it.
    QSize openingSize() const;
    // Gives the contents pane its longest entry's width, up to three fifths of the window.
    void fitContentsPane();

    // Shows the page the core names.
    void follow();
    // Finds text in the page from the cursor on (or back), going round once; false when absent.
    bool findText(const QString &text, bool backwards = false);
    // Keeps the window's size for the next time it opens.
    void storeSize();

    // The colour links are drawn in: the palette's link colour where it reads on the page's
    // background (4.5:1), else one moved towards the text colour.
    QColor linkColour() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyLinkColour();
    HelpWindow *window_; // nullptr once the core has gone
    QTextBrowser *browser_ = nullptr;
    QTreeWidget *contents_ = nullptr;
    QLineEdit *findField_ = nullptr;
    QLabel *findResult_ = nullptr;
    QSplitter *split_ = nullptr;
    int contentsWidth_ = 0; // what the longest entry needs, frame and scroll bar included
    int zoom_ = 0;

    void linkClicked(const QUrl &link);
    void fillContents();
    void zoom(int steps);
    void markContents(const QUrl &url);
};

} // namespace corvanta
