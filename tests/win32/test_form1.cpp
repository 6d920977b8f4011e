#include <gtest/gtest.h>
#include "app/win32/form1.h"
#include "cad/no_cad.h"
TEST(Form1Window, Creates) {
    tendra::cad::NoCadPlatform platform;
    tendra::Form1 form(platform);
    ASSERT_TRUE(form.create()) << GetLastError();
}
