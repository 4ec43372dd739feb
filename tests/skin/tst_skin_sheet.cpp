// Skin sheets: the pixels a sheet made from a picture file holds, whatever the picture's format
// and size, and sheets made later on other threads (made once, never read half-made).
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "skin/picture_file.h"
#include "skin/picture_prefetch.h"
#include "skin/sheet_workers.h"
#include "skin/skin_sheet.h"
#include "skin_test_support.h"

using namespace qx::skin;
using qx::skin::test::CodedImage;
using qx::skin::test::SkinFolder;

namespace {

const QSize kClient(64, 48);

// A sheet as the window system would paint it: a black surface with the decoded picture drawn at
// (0, 0) in its natural size (what sheets were before only the covered part was kept).
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

// A button face cut from a sheet at `source`, drawn over white on a surface with alpha.
QImage CutFace(const SkinSheet& sheet, const QRect& source) {
    QImage face(source.size(), QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::white);
    QPainter painter(&face);
    sheet.Draw(painter, QPoint(0, 0), source);
    return face;
}

QImage CutFace(const QPixmap& sheet, const QRect& source) {
    QImage face(source.size(), QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::white);
    QPainter painter(&face);
    painter.drawPixmap(QPoint(0, 0), sheet, source);
    return face;
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
        const SkinSheet sheet = BuildSkinSheetFromFile(path, client);
        const QImage painted = PaintedSheet(path, client);
        QCOMPARE(sheet.Size(), SheetSizeFor(client));
        QCOMPARE(sheet.ToImage(), painted);
        // Only the part the picture covers is kept; the black rest is drawn.
        const QImage picture = DecodePictureFile(path);
        QCOMPARE(sheet.Covered().size(), picture.size().boundedTo(SheetSizeFor(client)));
        // Button faces cut across the picture's edge, the sheet's edge and its corner show what
        // cutting them from the painted sheet shows, and nothing beyond the sheet.
        const QRect faces[] = {QRect(-1, -1, 30, 20), QRect(30, 20, 50, 40),
                               QRect(sheet.Size().width() - 10, 5, 30, 30),
                               QRect(5, sheet.Size().height() - 8, 20, 20)};
        for (const QRect& face : faces) {
            QCOMPARE(CutFace(sheet, face), CutFace(QPixmap::fromImage(painted), face));
        }
    }

    void sheetFromAPictureIsClippedAndBlackAroundIt() {
        const SkinSheet missing =
            BuildSkinSheetFromFile(QStringLiteral("/nonexistent/none.jpg"), QSize(0, 0));
        QCOMPARE(missing.Size(), QSize(100, 100));
        QVERIFY(missing.Covered().isNull());
        QCOMPARE(OverWhite(missing.ToImage()).pixel(50, 50), qRgb(0, 0, 0));
        const QImage wide = CodedImage(QSize(300, 20));
        const SkinSheet clipped = BuildSkinSheet(wide, QSize(50, 50));
        QCOMPARE(clipped.Size(), QSize(150, 150));
        QCOMPARE(clipped.Covered().size(), QSize(150, 20));
        QCOMPARE(clipped.ToImage().pixel(149, 19), wide.pixel(149, 19));
        QCOMPARE(OverWhite(clipped.ToImage()).pixel(149, 20), qRgb(0, 0, 0));
        const SkinSheet translucent = BuildSkinSheet(Translucent(QSize(10, 10)), QSize(10, 10));
        QImage expected(SheetSizeFor(QSize(10, 10)), kSheetFormat);
        expected.fill(Qt::black);
        QPainter(&expected).drawImage(0, 0, Translucent(QSize(10, 10)));
        QCOMPARE(translucent.ToImage(), expected);
        QVERIFY(SkinSheet().ToImage().isNull());
    }

    void deferredSheetIsMadeOnceByTheFirstReaderAndSharedByCopies() {
        std::atomic<int> made{0};
        const SkinSheet sheet = SkinSheet::Deferred(QSize(4, 4), [&made] {
            ++made;
            return Marked(qRgb(1, 2, 3));
        });
        // A copy, not a reference: copies share one making.
        // NOLINTNEXTLINE(performance-unnecessary-copy-initialization)
        const SkinSheet copy = sheet;
        QVERIFY(!sheet.IsReady());
        QCOMPARE(made.load(), 0);
        QCOMPARE(copy.Covered().pixel(0, 0), qRgb(1, 2, 3));
        QVERIFY(sheet.IsReady());
        QVERIFY(!sheet.MakeNow());
        QCOMPARE(sheet.Covered().constBits(), copy.Covered().constBits());
        QCOMPARE(made.load(), 1);
        // A default sheet has nothing to draw; one whose maker failed is black.
        QVERIFY(SkinSheet().Covered().isNull());
        QVERIFY(SkinSheet().IsReady());
        const SkinSheet failing =
            SkinSheet::Deferred(QSize(4, 4), []() -> QImage { throw std::bad_alloc(); });
        QVERIFY(failing.Covered().isNull());
        QCOMPARE(failing.ToImage().pixel(1, 1), qRgb(0, 0, 0));
    }

    void readerWaitsForTheSheetAnotherThreadIsMaking() {
        Gate inside;
        Gate release;
        std::atomic<int> made{0};
        const SkinSheet sheet = SkinSheet::Deferred(QSize(4, 4), [&] {
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
        QCOMPARE(sheet.Covered().pixel(0, 0), qRgb(9, 8, 7));
        maker.join();
        opener.join();
        QCOMPARE(made.load(), 1);
    }

    void workersMakeEverySheetOnceAndLeaveUnstartedOnesToTheirReaders() {
        std::atomic<int> made{0};
        std::vector<SkinSheet> sheets;
        sheets.reserve(12);
        for (int i = 0; i < 12; ++i) {
            sheets.push_back(SkinSheet::Deferred(QSize(4, 4), [&made, i] {
                ++made;
                return Marked(qRgb(i, 0, 0));
            }));
        }
        {
            SheetWorkers workers(sheets, 3);
            // Readers racing the workers.
            for (int i = 11; i >= 0; i -= 3) {
                QCOMPARE(sheets[static_cast<std::size_t>(i)].Covered().pixel(0, 0), qRgb(i, 0, 0));
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
        const SkinSheet slow = SkinSheet::Deferred(QSize(4, 4), [&] {
            inside.Open();
            release.WaitOpen();
            return Marked(qRgb(1, 1, 1));
        });
        const SkinSheet later =
            SkinSheet::Deferred(QSize(4, 4), [] { return Marked(qRgb(2, 2, 2)); });
        {
            SheetWorkers workers({slow, later}, 1);
            inside.WaitOpen();
            release.Open();
        }
        QVERIFY(slow.IsReady());
        QCOMPARE(later.Covered().pixel(0, 0), qRgb(2, 2, 2));
    }

    // Loads during a prefetch give each file's own picture, whether the thread decoded it or the
    // caller did; a missing file stays a null picture (a skin that cannot be shown still ends the
    // program); after the prefetch, files are read again, so a changed file is seen.
    void prefetchedLoadsGiveTheFilesPictures() {
        test::SkinFolder folder;
        std::vector<QString> paths;
        for (int i = 0; i < 8; ++i) {
            const std::string name = "p" + std::to_string(i) + ".bmp";
            folder.WriteImage(name, test::Filled(QSize(40, 30), QColor(i, 2 * i, 3 * i)));
            paths.push_back(QString::fromStdString(folder.File(name)));
        }
        paths.push_back(QString::fromStdString(folder.File("missing.bmp")));
        {
            const PicturePrefetch prefetch(paths);
            for (int i = 7; i >= 0; --i) {
                const QImage picture = DecodePictureFile(paths[static_cast<std::size_t>(i)]);
                QCOMPARE(picture.size(), QSize(40, 30));
                QCOMPARE(picture.pixel(5, 5), qRgb(i, 2 * i, 3 * i));
            }
            QVERIFY(DecodePictureFile(paths.back()).isNull());
            QVERIFY(!TakePrefetchedPicture(paths[0]).has_value());  // handed out once
        }
        folder.WriteImage("p0.bmp", test::Filled(QSize(40, 30), QColor(9, 9, 9)));
        QVERIFY(!TakePrefetchedPicture(paths[0]).has_value());
        QCOMPARE(DecodePictureFile(paths[0]).pixel(5, 5), qRgb(9, 9, 9));
    }

    // Threads loading the same files while the prefetch decodes them: each load gets the
    // picture, exactly one load per file takes it from the prefetch, and nobody waits forever.
    void prefetchHandsEachPictureOutOnceAcrossThreads() {
        test::SkinFolder folder;
        std::vector<QString> paths;
        for (int i = 0; i < 16; ++i) {
            const std::string name = "t" + std::to_string(i) + ".bmp";
            folder.WriteImage(name, test::Filled(QSize(256, 256), QColor(10 * i, 0, 0)));
            paths.push_back(QString::fromStdString(folder.File(name)));
        }
        std::atomic<int> taken{0};
        std::atomic<int> wrong{0};
        {
            const PicturePrefetch prefetch(paths);
            std::vector<std::thread> loaders;
            loaders.reserve(4);
            for (int t = 0; t < 4; ++t) {
                loaders.emplace_back([&] {
                    for (std::size_t i = 0; i < paths.size(); ++i) {
                        const std::optional<QImage> picture = TakePrefetchedPicture(paths[i]);
                        if (picture) {
                            ++taken;
                            wrong += picture->pixel(1, 1) != qRgb(10 * static_cast<int>(i), 0, 0);
                        }
                    }
                });
            }
            for (std::thread& loader : loaders) {
                loader.join();
            }
        }
        QCOMPARE(taken.load(), 16);
        QCOMPARE(wrong.load(), 0);
    }
};

QTEST_MAIN(SkinSheetTest)
#include "tst_skin_sheet.moc"
