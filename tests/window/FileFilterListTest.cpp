#include "platform/wx/FileFilterList.h"

#include <gtest/gtest.h>

#include "platform/DeviceNames.h"
#include "platform/ui/CFileDialog.h"

using platform::wx::FileFilterList;

namespace {

struct WildcardCase {
    const wchar_t* deviceFilter;  // as the program passes it to the file-open dialog
    const wchar_t* wildcard;
};

TEST(FileFilterListTest, DeviceFilterListsBecomeWxWildcards) {
    const WildcardCase cases[] = {
        {L"Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||", L"Binary Files (*.bin)|*.bin|All Files (*.*)|*"},
        {L"Hitachi Files (*.s)|*.s|Motorola Files (*.s3)|*.s3|All Files (*.*)|*.*||",
         L"Hitachi Files (*.s)|*.s|Motorola Files (*.s3)|*.s3|All Files (*.*)|*"},
        {L"Images|*.bin; *.s ;*.*||", L"Images|*.bin;*.s;*"},
        {L"Nothing|  ||", L"Nothing|*"},
        {L"||", L""},
    };
    for (const auto& c : cases) {
        bool wellFormed = true;
        auto filters = CFileDialog::ParseFilter(c.deviceFilter, wellFormed);
        EXPECT_EQ(FileFilterList::toWildcard(filters), c.wildcard) << platform::toUtf8(c.deviceFilter);
    }
}

}  // namespace
