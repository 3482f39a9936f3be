#pragma once

#include <vector>

#include <QDialog>

class CPropertyPage;
class QTabWidget;

// A modal property sheet: its pages as tabs above the buttons OK ("button1") and
// "Abbrechen" ("button2"). OK closes the sheet with Accepted once every page has taken its
// values; a page that refuses keeps the sheet open on that page.
class CPropertySheet : public QDialog {
    Q_OBJECT

public:
    explicit CPropertySheet(const QString& caption, QWidget* parent = nullptr);

    // Adds `page` as the last tab; the sheet owns it.
    void AddPage(CPropertyPage* page, const QString& title);

    void accept() override;

private:
    QTabWidget* tabs_;
    std::vector<CPropertyPage*> pages_;
};
