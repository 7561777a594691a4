// Error texts: the system text of a code, the message of a failed Windows operation.

#include "sys/error.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(SystemText, KnownCodeKeepsTheSystemTextAndEndsWithTheCode) {
    const std::wstring text = systemText(ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(text.ends_with(L" (2)")) << text;
    EXPECT_GT(text.size(), 4u);
    EXPECT_NE(text.find(L'\n'), std::wstring::npos) << "the system's line break is kept";
}

TEST(SystemText, CodeWithoutSystemTextIsUnknownErrorInUnsignedDecimal) {
    // An XmlLite error (MX_E_ENCODING): the system has no text for it.
    EXPECT_EQ(systemText(0xC00CEE01), L"Unknown error (3222072833)");
}

TEST(WindowsError, MessageIsOperationColonSystemText) {
    const Error error = windowsError(L"Open config.xml", ERROR_ACCESS_DENIED);
    EXPECT_EQ(error.message(), L"Open config.xml: " + systemText(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(error.details().empty());
    EXPECT_STREQ(error.what(), "Windows operation failed");
}

TEST(CheckWin32, ThrowsWithTheLastErrorOnlyOnFailure) {
    EXPECT_NO_THROW(checkWin32(true, L"Anything"));
    SetLastError(ERROR_SHARING_VIOLATION);
    try {
        checkWin32(false, L"Replace config.xml");
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), L"Replace config.xml: " + systemText(ERROR_SHARING_VIOLATION));
    }
}

TEST(ErrorType, KeepsMessageAndDetails) {
    const Error error(L"Queue is full", L"Binding: F8");
    EXPECT_EQ(error.message(), L"Queue is full");
    EXPECT_EQ(error.details(), L"Binding: F8");
    EXPECT_STREQ(error.what(), "Windows operation failed");
}

TEST(InstallErrorType, CarriesTheCodeAndAWritableFolderMessage) {
    const InstallError error(ERROR_ACCESS_DENIED);
    EXPECT_EQ(error.code(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(error.message(), L"Choose a writable folder.\n" + systemText(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(error.details().empty());
    // Installation code tells folder problems from other failures by type.
    try {
        throw InstallError(ERROR_PATH_NOT_FOUND);
    } catch (const Error& caught) {
        EXPECT_NE(dynamic_cast<const InstallError*>(&caught), nullptr);
    }
}

}  // namespace
}  // namespace tavrel
