#include "edit/CGridCoordDlg.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "edit/CDataView.h"
#include "gps/CDataDoc.h"
#include "gps/RecordCollection.h"
#include "tests/RecordingPrompts.h"
#include "tests/edit/ProcessSettings.h"

namespace {

class GridDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = Prompts::SetCurrent(&prompts);
        view.AttachDocument(&doc);
        view.OnInitialUpdate();
    }
    void TearDown() override { Prompts::SetCurrent(previous); }

    static QLineEdit* Edit(const CGridCoordDlg& dialog, int id)
    {
        return dialog.findChild<QLineEdit*>(QStringLiteral("edit%1").arg(id));
    }
    static QStringList Texts(const CGridCoordDlg& dialog, std::initializer_list<int> ids)
    {
        QStringList texts;
        for (int id : ids) {
            texts << Edit(dialog, id)->text();
        }
        return texts;
    }
    static QComboBox* Presets(const CGridCoordDlg& dialog)
    {
        return dialog.findChild<QComboBox*>("presets156");
    }
    void AddPreset(const char* name, double longitudeScale, double latitudeScale)
    {
        GridScalePreset p = ZeroedEntry<GridScalePreset>();
        SetFieldText(p.name, sizeof p.name, name);
        p.longitudeScale = longitudeScale;
        p.latitudeScale = latitudeScale;
        doc.gridPresets.Append(p);
    }

    ScopedLocale locale{"C"};
    RecordingPrompts prompts;
    Prompts* previous = nullptr;
    CDataDoc doc;
    CDataView view;
};

TEST_F(GridDialog, OpensWithTheGridLinesOfThePosition)
{
    CGridCoordDlg dialog(nullptr, nullptr, 13.5, 10.0078125);
    EXPECT_EQ(dialog.windowTitle(), "Koordinaten vom Kartengitter");
    EXPECT_EQ(Texts(dialog, {126, 127, 128, 129}), QStringList({"13", "30", "0", "0"}));
    EXPECT_EQ(Texts(dialog, {130, 131, 132, 133}), QStringList({"10", "0", "28.125", "0"}));
    EXPECT_EQ(Texts(dialog, {163, 164}), QStringList({"0", "0"}));
    CGridCoordDlg west(nullptr, nullptr, -13.5, -0.25);
    EXPECT_EQ(Texts(west, {126, 127, 128, 130, 131, 132}),
              QStringList({"-13", "-30", "0", "0", "-15", "0"}));
}

TEST_F(GridDialog, OkWithoutChangesGivesThePositionBackOnEverySide)
{
    for (auto [lon, lat] : {std::pair{13.5, 10.0078125},
                            {-122.4194155, 37.7749295},
                            {151.2092955, -33.8688197},
                            {-0.0001, -89.9999}}) {
        CGridCoordDlg dialog(nullptr, nullptr, lon, lat);
        dialog.accept();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_NEAR(dialog.Longitude(), lon, 1e-12) << lon;
        EXPECT_NEAR(dialog.Latitude(), lat, 1e-12) << lat;
    }
}

TEST_F(GridDialog, DistanceOverScaleIsAddedOnlyWithAScale)
{
    CGridCoordDlg dialog(nullptr, nullptr, 10, 50);
    Edit(dialog, 129)->setText("12");
    Edit(dialog, 163)->setText("120");
    Edit(dialog, 133)->setText("12");
    dialog.accept();
    EXPECT_DOUBLE_EQ(dialog.Longitude(), 10.1);
    EXPECT_EQ(dialog.Latitude(), 50) << "latitude scale 0";

    CGridCoordDlg bad(nullptr, nullptr, 10, 50);
    Edit(bad, 131)->setText("x");
    bad.accept();
    EXPECT_NE(bad.result(), QDialog::Accepted);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Please enter a number."});
    EXPECT_EQ(bad.Longitude(), 10);
}

TEST_F(GridDialog, PresetsAreStoredUsedAndDeletedByTheirIndex)
{
    AddPreset("Karte", 100, 200);
    AddPreset("Alpen", 300, 400);
    CGridCoordDlg dialog(nullptr, &view, 1, 2);
    QComboBox* presets = Presets(dialog);
    ASSERT_EQ(presets->count(), 2);
    EXPECT_EQ(presets->itemText(0), "Alpen") << "sorted";
    EXPECT_EQ(presets->itemData(0).toInt(), 1);
    EXPECT_EQ(presets->currentText(), "");

    dialog.OnDelete();
    EXPECT_EQ(doc.gridPresets.Count(), 2) << "nothing selected";
    dialog.OnSet();  // empty name, scales 0
    ASSERT_EQ(doc.gridPresets.Count(), 3);
    EXPECT_EQ(doc.gridPresets.Names()[2], "");
    Edit(dialog, 163)->setText("55");
    presets->setEditText("Karte");
    dialog.OnSet();
    ASSERT_EQ(presets->count(), 4);
    EXPECT_EQ(presets->itemText(2), "Karte");
    EXPECT_EQ(presets->itemText(3), "Karte");

    presets->setCurrentIndex(3);  // the second "Karte": index 3 in the document
    dialog.OnUse();
    EXPECT_EQ(Texts(dialog, {163, 164}), QStringList({"55", "0"}));
    presets->setCurrentIndex(1);  // "Alpen"
    dialog.OnUse();
    EXPECT_EQ(Texts(dialog, {163, 164}), QStringList({"300", "400"}));
    presets->setCurrentIndex(1);
    dialog.OnDelete();
    EXPECT_EQ(doc.gridPresets.Names(), (std::vector<std::string>{"Karte", "", "Karte"}));
}

TEST_F(GridDialog, SetAndDelMarkTheDocumentWhenTheyChangeIt)
{
    struct Case {
        const char* legend;
        int button;
        int selected;  // entry of the preset box, -1: none
        bool modified;
    } cases[] = {
        {"Set", 158, -1, true},
        {"Del", 159, 0, true},
        {"Del without a selection", 159, -1, false},
    };
    for (const Case& c : cases) {
        doc.gridPresets.Clear();
        AddPreset("Karte", 100, 200);
        doc.SetModifiedFlag(false);
        CGridCoordDlg dialog(nullptr, &view, 1, 2);
        Presets(dialog)->setCurrentIndex(c.selected);
        dialog.findChild<QPushButton*>(QStringLiteral("button%1").arg(c.button))->click();
        EXPECT_EQ(doc.IsModified(), c.modified) << c.legend;
    }
}

TEST_F(GridDialog, WithoutAViewThereAreNoPresets)
{
    AddPreset("Karte", 100, 200);
    CGridCoordDlg dialog(nullptr, nullptr, 1, 2);
    EXPECT_FALSE(Presets(dialog)->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("button158")->isEnabled());
    dialog.OnSet();
    EXPECT_EQ(doc.gridPresets.Count(), 1);
}

}  // namespace
