// The painting tests run offscreen, with one QGuiApplication for the whole executable.

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    std::setlocale(LC_ALL, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
