// Skin sheets: the pixels a sheet made from a picture file holds, whatever the picture's format
// and size, and sheets made later on other threads (made once, never read half-made).
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "skin/picture_file.h"
#include "skin/sheet_workers.h"
#include "skin/skin_sheet.h"
#include "skin_test_support.h"

using namespace qx::skin;
using qx::skin::test::CodedImage;
using qx::skin::test::SkinFolder;

namespace {

const QSize kClient(64, 48);

// A sheet as the window system would paint it: a black surface with the decoded picture drawn at
// (0, 0) in its natural size.
QImage PaintedSheet(const QString& path, QSize client) {
    QPixmap sheet(SheetSizeFor(client));
    sheet.fill(Qt::black);
    const QImage picture = DecodePictureFile(path);
    if (!picture.isNull()) {
        QPainter painter(&sheet);
        painter.drawImage(0, 0, picture);
    }
    return sheet.toImage().convertToFormat(kSheetFormat);
}

// The sheet laid over white on a surface with an alpha channel: what shows through is what a
// window would show.
QImage OverWhite(const QImage& sheet) {
    QImage surface(sheet.size(), QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    painter.drawImage(0, 0, sheet);
    return surface;
}

QImage Translucent(QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, qRgba(200, x * 4, y * 5, (x * 7 + y) & 0xFF));
        }
    }
    return image;
}

// Lets a test hold a maker inside its work until the test opens the gate.
class Gate {
  public:
    void Open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void WaitOpen() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return open_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

QImage Marked(QRgb colour) {
    QImage image(4, 4, kSheetFormat);
    image.fill(colour);
    return image;
}

}  // namespace

class SkinSheetTest : public QObject {
    Q_OBJECT

  private slots:
    void sheetFromAFileHoldsWhatPaintingThePictureGives_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("client");
        QTest::newRow("colour JPEG, decoded in place") << "photo.jpg" << kClient;
        QTest::newRow("JPEG exactly the sheet's size") << "photo.jpg" << QSize(-40, -60);
        QTest::newRow("grey JPEG") << "grey.jpg" << kClient;
        QTest::newRow("PNG with transparency") << "alpha.png" << kClient;
        QTest::newRow("24-bit BMP") << "plain.bmp" << kClient;
        QTest::newRow("picture larger than the sheet") << "big.jpg" << QSize(20, 10);
        QTest::newRow("truncated JPEG") << "truncated.jpg" << kClient;
        QTest::newRow("not a picture") << "text.jpg" << kClient;
        QTest::newRow("missing file") << "none.jpg" << kClient;
    }

    void sheetFromAFileHoldsWhatPaintingThePictureGives() {
        QFETCH(QString, name);
        QFETCH(QSize, client);
        SkinFolder folder;
        folder.WriteImage("photo.jpg", CodedImage(QSize(60, 40)), "JPEG");
        folder.WriteImage("grey.jpg",
                          CodedImage(QSize(50, 30)).convertToFormat(QImage::Format_Grayscale8),
                          "JPEG");
        folder.WriteImage("alpha.png", Translucent(QSize(40, 30)), "PNG");
        folder.WriteImage("plain.bmp", CodedImage(QSize(33, 21)), "BMP");
        folder.WriteImage("big.jpg", CodedImage(QSize(150, 130)), "JPEG");
        const QByteArray whole = ReadPictureBytes(QString::fromStdString(folder.File("big.jpg")));
        folder.WriteText("truncated.jpg", whole.left(whole.size() / 2).toStdString());
        folder.WriteText("text.jpg", "not a picture");

        const QString path = QString::fromStdString(folder.File(name.toStdString()));
        const QImage sheet = SheetPixelsFromFile(path, client);
        QCOMPARE(sheet.size(), SheetSizeFor(client));
        QCOMPARE(sheet.format(), kSheetFormat);
        QCOMPARE(sheet, PaintedSheet(path, client));
        // Outside the picture the sheet is opaque black, also over a surface with alpha.
        QCOMPARE(OverWhite(sheet), OverWhite(PaintedSheet(path, client)));
    }

    void sheetFromAPictureIsClippedAndBlackAroundIt() {
        const QImage small =
            SheetPixelsFromFile(QStringLiteral("/nonexistent/none.jpg"), QSize(0, 0));
        QCOMPARE(small.size(), QSize(100, 100));
        QCOMPARE(OverWhite(small).pixel(50, 50), qRgb(0, 0, 0));
        const SkinSheet clipped = BuildSkinSheet(CodedImage(QSize(300, 20)), QSize(50, 50));
        QCOMPARE(clipped.Size(), QSize(150, 150));
        QCOMPARE(clipped.Pixels().pixel(149, 19), CodedImage(QSize(300, 20)).pixel(149, 19));
        QCOMPARE(OverWhite(clipped.Pixels()).pixel(149, 20), qRgb(0, 0, 0));
        const SkinSheet translucent = BuildSkinSheet(Translucent(QSize(10, 10)), QSize(10, 10));
        QImage expected(SheetSizeFor(QSize(10, 10)), kSheetFormat);
        expected.fill(Qt::black);
        QPainter(&expected).drawImage(0, 0, Translucent(QSize(10, 10)));
        QCOMPARE(translucent.Pixels(), expected);
    }

    void deferredSheetIsMadeOnceByTheFirstReaderAndSharedByCopies() {
        std::atomic<int> made{0};
        const SkinSheet sheet = SkinSheet::Deferred([&made] {
            ++made;
            return Marked(qRgb(1, 2, 3));
        });
        const SkinSheet copy = sheet;
        QVERIFY(!sheet.IsReady());
        QCOMPARE(made.load(), 0);
        QCOMPARE(copy.Pixels().pixel(0, 0), qRgb(1, 2, 3));
        QVERIFY(sheet.IsReady());
        QVERIFY(!sheet.MakeNow());
        QCOMPARE(sheet.Pixels().constBits(), copy.Pixels().constBits());
        QCOMPARE(made.load(), 1);
        // A sheet without pixels draws nothing; so does one whose maker failed.
        QVERIFY(SkinSheet().IsNull());
        QVERIFY(SkinSheet().IsReady());
        const SkinSheet failing = SkinSheet::Deferred([]() -> QImage { throw std::bad_alloc(); });
        QVERIFY(failing.IsNull());
    }

    void readerWaitsForTheSheetAnotherThreadIsMaking() {
        Gate inside;
        Gate release;
        std::atomic<int> made{0};
        const SkinSheet sheet = SkinSheet::Deferred([&] {
            ++made;
            inside.Open();
            release.WaitOpen();
            return Marked(qRgb(9, 8, 7));
        });
        std::thread maker([&sheet] { sheet.MakeNow(); });
        inside.WaitOpen();
        // The maker is inside its work: the reader must wait, not make a second one.
        std::thread opener([&release] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            release.Open();
        });
        QCOMPARE(sheet.Pixels().pixel(0, 0), qRgb(9, 8, 7));
        maker.join();
        opener.join();
        QCOMPARE(made.load(), 1);
    }

    void workersMakeEverySheetOnceAndLeaveUnstartedOnesToTheirReaders() {
        std::atomic<int> made{0};
        std::vector<SkinSheet> sheets;
        for (int i = 0; i < 12; ++i) {
            sheets.push_back(SkinSheet::Deferred([&made, i] {
                ++made;
                return Marked(qRgb(i, 0, 0));
            }));
        }
        {
            SheetWorkers workers(sheets, 3);
            // Readers racing the workers.
            for (int i = 11; i >= 0; i -= 3) {
                QCOMPARE(sheets[static_cast<std::size_t>(i)].Pixels().pixel(0, 0), qRgb(i, 0, 0));
            }
            workers.Join();
        }
        QCOMPARE(made.load(), 12);
        for (int i = 0; i < 12; ++i) {
            QVERIFY(sheets[static_cast<std::size_t>(i)].IsReady());
        }

        // Ending the workers while a sheet is being made: that one is finished before they end,
        // and one they did not get to is made by its reader.
        Gate inside;
        Gate release;
        const SkinSheet slow = SkinSheet::Deferred([&] {
            inside.Open();
            release.WaitOpen();
            return Marked(qRgb(1, 1, 1));
        });
        const SkinSheet later = SkinSheet::Deferred([] { return Marked(qRgb(2, 2, 2)); });
        {
            SheetWorkers workers({slow, later}, 1);
            inside.WaitOpen();
            release.Open();
        }
        QVERIFY(slow.IsReady());
        QCOMPARE(later.Pixels().pixel(0, 0), qRgb(2, 2, 2));
    }
};

QTEST_MAIN(SkinSheetTest)
#include "tst_skin_sheet.moc"
