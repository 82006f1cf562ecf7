// GoogleTest under a QApplication on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quorvane");
    Q_INIT_RESOURCE(pictures);
    Q_INIT_RESOURCE(retouch_pictures);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    QApplication::setFont(font);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
