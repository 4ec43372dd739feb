// CPngButton: the image button of every skinned window. It has no look of its own: it shows the
// rectangle at its own position cut out of one of the window's skin sheets, chosen by its state,
// optionally with a caption and a tooltip. Clicks reach the window as clicked() signals.
#pragma once

#include <QAbstractButton>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "skin/png_button_face.h"
#include "skin/skin_sheet.h"

namespace qx::skin {

// The default font of a button caption, and the tooltip's delay.
inline constexpr int kDefaultButtonFontPoints = 8;
inline constexpr int kTooltipDelayMs = 300;
// The hover notification follows the first mouse move after this delay.
inline constexpr int kHoverDelayMs = 1;
// Frame levels are 0..100.
inline constexpr int kMaxFrameLevel = 100;
// Captions are drawn up to this many characters.
inline constexpr int kMaxCaptionChars = 259;

class CPngButton : public QAbstractButton {
    Q_OBJECT

  public:
    // Called after each drawing with the button and whether the shown sheet is the normal one.
    // It runs inside the paint: ask other widgets for update(), not repaint().
    using DrawCallback = std::function<void(CPngButton& button, bool shownIsNormal)>;

    explicit CPngButton(QWidget* parent = nullptr);
    ~CPngButton() override;
    CPngButton(const CPngButton&) = delete;
    CPngButton& operator=(const CPngButton&) = delete;

    // Sets the source point (the button's position in its window) and the five sheets; clears
    // hover, pressed and tracking.
    void SetSheets(int sourceX, int sourceY, const SheetSet& sheets, bool redraw = true);
    // The same without changing the source point.
    void SetSheetsOnly(const SheetSet& sheets, bool redraw = true);
    // Toggle mode draws sheet B when the selector is 1, else sheet A (unless disabled).
    void SetToggleSheets(const SkinSheet* sheetA, const SkinSheet* sheetB, bool toggleMode,
                         int selector, bool redraw = true);
    void SetMarked(bool marked, bool redraw = true);
    void SetTextStyle(bool textOn, int pointSize, const QString& face, ColorRef normal,
                      ColorRef over, ColorRef down, ColorRef disable, ColorRef marked,
                      unsigned format = kDefaultTextFormat);
    void SetTextMargins(const TextMargins& margins);
    void SetTextAngle(int angleTenths, bool centreRotated);
    // Frame mode draws a 2-pixel outline in `colour` instead of the picture.
    void SetFrameMode(ColorRef colour, int level, bool frameMode);
    // An empty text does nothing; otherwise the tooltip is made when missing and given the text.
    void SetTooltip(const QString& text, bool activate);
    void SetDrawCallback(DrawCallback callback);
    // Draws at once, without waiting for a paint event.
    void Redraw();

    // State, for the windows and for tests.
    [[nodiscard]] QPoint SourcePoint() const { return source_; }
    [[nodiscard]] const SheetSet& Sheets() const { return sheets_; }
    [[nodiscard]] bool IsMarked() const { return marked_; }
    [[nodiscard]] bool IsHover() const { return hover_; }
    [[nodiscard]] bool IsTracking() const { return tracking_; }
    [[nodiscard]] bool IsToggleMode() const { return toggleMode_; }
    [[nodiscard]] bool IsFrameMode() const { return frameMode_; }
    [[nodiscard]] int FrameLevel() const { return frameLevel_; }
    [[nodiscard]] ColorRef FrameColour() const { return frameColour_; }
    [[nodiscard]] const SkinSheet* ShownSheet() const { return shown_; }
    [[nodiscard]] bool HasTooltip() const { return tip_ != nullptr; }
    [[nodiscard]] QString TooltipText() const { return tipText_; }
    [[nodiscard]] bool IsTooltipActive() const;
    [[nodiscard]] int TooltipDelayMs() const;
    // The state the next drawing uses, and its choice of sheet and colour.
    [[nodiscard]] ButtonState CurrentState() const;
    [[nodiscard]] FaceChoice CurrentFace() const { return ChooseFace(CurrentState()); }
    [[nodiscard]] const SkinSheet* SheetOf(SheetSlot slot) const;
    // The rectangle the caption is drawn into and the caption's font.
    [[nodiscard]] TextBox CaptionBox() const;
    [[nodiscard]] QFont CaptionFont() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    struct Tooltip;

    void ResetInteraction();
    void StartTracking();
    void OnHover();
    void OnLeave();
    void ShowTooltipNow();
    void DrawCaption(QPainter& painter, ColourSlot colour);
    [[nodiscard]] ColorRef TextColour(ColourSlot slot) const;
    [[nodiscard]] QString Caption() const;

    SheetSet sheets_;
    const SkinSheet* shown_ = nullptr;
    const SkinSheet* toggleA_ = nullptr;
    const SkinSheet* toggleB_ = nullptr;
    bool hover_ = false;
    bool tracking_ = false;
    bool marked_ = false;
    bool toggleMode_ = false;
    int toggleSelector_ = 0;
    QPoint source_;

    bool textOn_ = false;
    int fontPoints_ = kDefaultButtonFontPoints;
    QString fontFace_;
    ColorRef colourNormal_ = 0;
    ColorRef colourOver_ = 0;
    ColorRef colourDown_ = 0;
    ColorRef colourDisable_ = 0;
    ColorRef colourMarked_ = 0;
    unsigned textFormat_ = kDefaultTextFormat;
    TextMargins margins_;
    int textAngle_ = 0;
    bool centreRotated_ = false;

    DrawCallback drawCallback_;
    std::unique_ptr<Tooltip> tip_;
    QString tipText_;
    QTimer hoverTimer_;

    bool frameMode_ = false;
    ColorRef frameColour_ = 0;
    int frameLevel_ = 0;
};

}  // namespace qx::skin
