// STATIC: text, and the images STM_SETIMAGE swaps.
#include "ControlTest.h"

using namespace control_tests;

namespace {

using ControlStatic = ControlTest;

TEST_F(ControlStatic, SetImageHandsBackTheOldImageOfItsKind) {
    HWND icon = Make(u"static", nullptr, SS_ICON, 1, 4, 4, 32, 32);
    HICON first = LoadIconW(nullptr, IDI_APPLICATION);
    HICON second = LoadIconW(nullptr, IDI_QUESTION);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0), 0);
    EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(first)), 0);
    EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(second)),
              reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(second));
    EXPECT_EQ(SendMessageW(icon, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

    HWND picture = Make(u"STATIC", nullptr, SS_BITMAP, 2, 40, 4, 32, 32);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 24, nullptr);
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap));
    UpdateWindow(parent);
    recorder.Pump();
    DestroyWindow(picture);
    EXPECT_TRUE(DeleteObject(bitmap)) << "the image stays the caller's";
}

TEST_F(ControlStatic, TextControlsTakeTheirTextAndNoFocusKeys) {
    HWND label = Make(u"Static", u"Образец текста:", SS_LEFT, 1014);
    HWND centred = Make(u"Static", u"1.0", SS_CENTER, 1017, 4, 30);
    EXPECT_EQ(TextOf(label), u"Образец текста:");
    SetWindowTextW(centred, u"2.0");
    EXPECT_EQ(TextOf(centred), u"2.0");
    EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    UpdateWindow(parent);
    recorder.Pump();
}

}  // namespace
