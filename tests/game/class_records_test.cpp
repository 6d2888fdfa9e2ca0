// The program's class records, as the whole game registers them: each name, base, factory
// and GUID, and no record besides them.
#include "class_record_check.h"

#include <frontend/mnprofileui.h>
#include <modes/mnmodemenuhost.h>
#include <puzzles/anagram/mnanagram.h>
#include <puzzles/crossword/mncrosswordwidget.h>
#include <puzzles/fitword/mnfitwordwidget.h>
#include <puzzles/sudoku/mnsudokuwidget.h>
#include <puzzles/wordsearch/mnwordsearchwidget.h>
#include <shell/mngameworld.h>
#include <tui/mnbackground.h>
#include <tui/mncombowidget.h>
#include <tui/mnmenuwidget.h>
#include <tui/tui.h>

#include <framework/kproperty.h>
#include <game/kgameclientview.h>
#include <game/kgameleaf.h>

#include <kelvo/object/klibrary.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace Kelvo_lib;

TEST(ClassRecordTest, EveryRecordHasItsNameBaseFactoryAndGuidAndNoOtherIsRegistered) {
    kClass* const object = kObject::StaticClass();
    kClass* const property = kProperty::StaticClass();
    kClass* const widget = kUIWidget::StaticClass();
    const kGUID none = kGUID::Null;
    const test_support::ExpectedRecord table[] = {
        {object, "Kelvo_lib::kObject", nullptr, false,
         kGUID(0xF369CB7A, 0x882E, 0x4268, 0x94BC8217F86F475B)},
        {kClass::StaticClass(), "Kelvo_lib::kClass", nullptr, false,
         kGUID(0x56DADCBF, 0x7661, 0x4FFE, 0x9D531DD8D1581E13)},
        {kLibrary::StaticClass(), "Kelvo_lib::kLibrary", object, true,
         kGUID(0xB66232F6, 0xABFE, 0x4868, 0xAE4E9E73B2442C92)},
        {kClassMetaData::StaticClass(), "Kelvo_lib::kClassMetaData", object, true,
         kGUID(0x586EB10C, 0x7E67, 0x49C8, 0xBA5C1AEB4A2AD7E8)},
        {property, "Kelvo_lib::kProperty", object, false, none},
        {kPropertyFlag::StaticClass(), "Kelvo_lib::kPropertyFlag", property, true, none},
        {kPropertyEnum::StaticClass(), "Kelvo_lib::kPropertyEnum", property, true, none},
        {kPropertyFloat::StaticClass(), "Kelvo_lib::kPropertyFloat", property, true, none},
        {kPropertyInt::StaticClass(), "Kelvo_lib::kPropertyInt", property, true, none},
        {kPropertyBool::StaticClass(), "Kelvo_lib::kPropertyBool", property, true, none},
        {kPropertyObject::StaticClass(), "Kelvo_lib::kPropertyObject", property, true, none},
        {kPropertyUIPoint::StaticClass(), "Kelvo_lib::kPropertyUIPoint", property, true, none},
        {kPropertyUIRect::StaticClass(), "Kelvo_lib::kPropertyUIRect", property, true, none},
        {kGameLeaf::StaticClass(), "Kelvo_lib::kGameLeaf", object, true,
         kGUID(0xE529B555, 0xCC6C, 0x4FFE, 0xA505F1F5ACDC055C)},
        {kGameClientView::StaticClass(), "Kelvo_lib::kGameClientView", object, true,
         kGUID(0xE6EB3E38, 0xFA94, 0x4A48, 0xB4761A743B84548E)},
        {widget, "kUIWidget", kGameLeaf::StaticClass(), true,
         kGUID(0xD7F1A20B, 0x20AA, 0x4CDB, 0xA792E892FD32147E)},
        {kGameWorld::StaticClass(), "Kelvo_lib::kGameWorld", object, false,
         kGUID(0x886B5F1B, 0x2D3C, 0x4C6D, 0xB6847767788F3326)},
        {MNGameWorld::StaticClass(), "Kelvo_lib::MNGameWorld", kGameWorld::StaticClass(), true,
         kGUID(0x8B0732FE, 0x4CA4, 0x494F, 0x89951A4119D0CD35)},
        {MNAnagram::StaticClass(), "Kelvo_lib::MNAnagram", widget, true, none},
        {MNSudokuWidget::StaticClass(), "Kelvo_lib::MNSudokuWidget", widget, true, none},
        {MNFitwordWidget::StaticClass(), "Kelvo_lib::MNFitwordWidget", widget, true, none},
        {MNCrosswordWidget::StaticClass(), "Kelvo_lib::MNCrosswordWidget", widget, true, none},
        {MNWordsearchWidget::StaticClass(), "Kelvo_lib::MNWordsearchWidget", widget, true, none},
        {MNProfileWidget::StaticClass(), "Kelvo_lib::MNProfileWidget", widget, true, none},
        {TUIWidget::StaticClass(), "TUIWidget", widget, true, none},
        {TournamentUIWidget::StaticClass(), "TournamentUIWidget", widget, true, none},
        {QuickBlastUIWidget::StaticClass(), "QuickBlastUIWidget", widget, true, none},
        {SimplyPuzzleUIWidget::StaticClass(), "SimplyPuzzleUIWidget", widget, true, none},
        {FastAndFunUIWidget::StaticClass(), "FastAndFunUIWidget", widget, true, none},
        {HeadToHeadUIWidget::StaticClass(), "HeadToHeadUIWidget", widget, true, none},
        {MNMenuWidget::StaticClass(), "MNMenuWidget", widget, true, none},
        {MNComboWidget::StaticClass(), "MNComboWidget", widget, true, none},
        {MNBackgroundWidget::StaticClass(), "MNBackgroundWidget", widget, true, none},
    };
    std::set<const kClass*> expected;
    for (const test_support::ExpectedRecord& row : table) {
        test_support::ExpectRecord(row);
        expected.insert(row.record);
    }
    EXPECT_EQ(expected.size(), 33u);
    std::string others;
    for (const kClass* record = kClass::s_classHead; record != nullptr;
         record = record->m_nextClass) {
        if (expected.count(record) == 0) {
            others += std::string(" ") + record->m_className;
        }
    }
    EXPECT_EQ(others, "") << "registered besides the program's records";
}

} // namespace
