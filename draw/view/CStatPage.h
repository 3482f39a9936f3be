#pragma once

#include "draw/view/CPropertyPage.h"

class CSummaryInfo;

// The page "Statistics" of the document properties, all static text: "Last Saved By:"
// ("static111"), "Revision number:" ("static112"), "Total Editing Time:" ("static113"),
// "Last Printed:" ("static114"), "Created:" ("static115"), "Last Saved:" ("static116"),
// "# Pages:" ("static117"), "# words:" ("static118"), "# chars:" ("static119") and
// "Security Level:" ("static122"), as the summary gives them when the page is made.
class CStatPage : public CPropertyPage {
public:
    explicit CStatPage(const CSummaryInfo& info, QWidget* parent = nullptr);

    // Nothing to take.
    bool SaveData() override { return true; }
};
