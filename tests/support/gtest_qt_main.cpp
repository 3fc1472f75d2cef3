// GoogleTest's main with a QCoreApplication, so event loops (HTTP, outside
// processes) work in the tests.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
