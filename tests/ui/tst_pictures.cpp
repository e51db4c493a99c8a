#include "ui/Pictures.h"

#include <QApplication>
#include <QImage>
#include <QTest>

using Pictures::Kind;

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void drawnAtEverySize_data();
    void drawnAtEverySize();
};

void TestPictures::drawnAtEverySize_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("size");
    const std::pair<const char *, Kind> kinds[] = {
        {"new", Kind::New},
        {"open", Kind::Open},
        {"import", Kind::Import},
        {"save", Kind::Save},
        {"save as", Kind::SaveAs},
        {"search", Kind::Search},
        {"analysis", Kind::Analysis},
        {"exit", Kind::Exit},
        {"help", Kind::Help},
        {"number check", Kind::NumberCheck},
        {"folder up", Kind::FolderUp},
        {"more right", Kind::MoreRight},
        {"more down", Kind::MoreDown},
    };
    for (const auto &[name, kind] : kinds) {
        for (const int size : {16, 24, 48}) // 48: a 24-pixel picture at 200 % scaling
            QTest::addRow("%s %d", name, size) << kind << size;
    }
}

// Every picture comes from its file, is drawn at the size asked for and shows something.
void TestPictures::drawnAtEverySize()
{
    QFETCH(Kind, kind);
    QFETCH(int, size);
    const QImage image = Pictures::icon(kind).pixmap(size, size).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    int painted = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    }
    QVERIFY2(painted > size * size / 10, qPrintable(QString::number(painted)));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
