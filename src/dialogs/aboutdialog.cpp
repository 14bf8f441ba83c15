#include "aboutdialog.h"

#include "dialogflags.h"
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>

using namespace Qt::StringLiterals;

namespace {

// Plain pixels throughout: the picture and the hidden spot are drawn to these sizes.
constexpr int Margin = 8;
constexpr QRect PanelGeometry(Margin, Margin, 57, 145);
constexpr int PanelBorder = 2;
constexpr int VersionTop = 24;
constexpr int NumberTop = 36;
constexpr QRect HiddenSpot(32, 120, 9, 9);
constexpr int ColumnLeft = 76;
constexpr int DialogWidth = 440;
constexpr int ColumnWidth = DialogWidth - ColumnLeft - Margin;
constexpr int PurposeWidth = 300;
constexpr int Gap = 6;

QLabel *label(const QString &text, const QString &name, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QFrame *rule(const QString &name, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Text drawn over the picture: white, and with no background of its own (a label fills
// none unless asked) so the picture shows through around it.
void overPicture(QLabel *l)
{
    QPalette white = l->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(white);
    l->setAutoFillBackground(false);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

QPixmap renderPicture(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(u":/icons/about.svg"_s);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

const QString Purpose = u"For editing tilesets used by Harrowmark and Harrowmark: Veldrune"_s;
const QString NutWarning = u"WARNING: MAY CONTAIN NUT TRACES"_s;
const QString MailAddress = u"hmktse@example.org"_s;

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , mPicturePanel(new QFrame(this))
    , mPicture(label(QString(), u"Image1"_s, mPicturePanel))
    , mVersionCaption(label(u"Version"_s, u"Label5"_s, mPicturePanel))
    , mVersionNumber(label(u"1.1"_s, u"Label6"_s, mPicturePanel))
    , mHiddenSpot(label(QString(), u"Label10"_s, mPicturePanel))
    , mProgramName(label(u"Harrowmark Tileset Editor"_s, u"Label1"_s, this))
    , mPurpose(label(Purpose, u"Label3"_s, this))
    , mNotice(label(u"© 2026 "_s, u"Label2"_s, this))
    , mAuthorLink(label(u"the HMK Tileset Editor contributors"_s, u"Label7"_s, this))
    , mThanks(label(u"Thanks to everyone who tested it and sent in tileset notes."_s, u"Label9"_s,
                    this))
    , mUpperRule(rule(u"Line1"_s, this))
    , mMakersNotice(label(u"Harrowmark and Harrowmark: Veldrune are the property of their makers. "
                          "This editor is an independent tool and is not made, supported or "
                          "endorsed by them."_s,
                          u"Label4"_s, this))
    , mLowerRule(rule(u"Line2"_s, this))
    , mOkButton(new QPushButton(u"Ok"_s, this))
{
    setObjectName(u"Form7"_s);
    setWindowTitle(u"About HMK Tileset Editor"_s);
    mPicturePanel->setObjectName(u"Picture1"_s);
    mOkButton->setObjectName(u"Command1"_s);

    // The picture panel: children are stacked back to front in creation order.
    mPicturePanel->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    mPicturePanel->setGeometry(PanelGeometry);
    mPicture->setScaledContents(true);
    mPicture->setPixmap(renderPicture(PanelGeometry.size().shrunkBy(
        QMargins(PanelBorder, PanelBorder, PanelBorder, PanelBorder))));
    mPicture->setGeometry(mPicturePanel->contentsRect());
    const int textHeight = mVersionCaption->fontMetrics().height();
    overPicture(mVersionCaption);
    overPicture(mVersionNumber);
    mVersionCaption->setGeometry(0, VersionTop, PanelGeometry.width(), textHeight);
    mVersionNumber->setGeometry(0, NumberTop, PanelGeometry.width(), textHeight);
    // The hidden spot: an empty label that draws nothing over the picture.
    mHiddenSpot->setAutoFillBackground(false);
    mHiddenSpot->setGeometry(HiddenSpot);
    mHiddenSpot->installEventFilter(this);

    QFont bold = mProgramName->font();
    bold.setBold(true);
    mProgramName->setFont(bold);
    for (QLabel *text : {mPurpose, mThanks, mMakersNotice}) {
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    QFont underlined = mAuthorLink->font();
    underlined.setUnderline(true);
    mAuthorLink->setFont(underlined);
    QPalette linkColours = mAuthorLink->palette();
    linkColours.setColor(QPalette::WindowText, Qt::blue);
    mAuthorLink->setPalette(linkColours);
    mAuthorLink->setCursor(Qt::PointingHandCursor);
    mAuthorLink->setToolTip(MailAddress);
    mAuthorLink->installEventFilter(this);

    // Heights follow the font; widths are fixed so the texts wrap where they were meant to.
    const int line = mProgramName->fontMetrics().height();
    int y = Margin;
    mProgramName->setGeometry(ColumnLeft, y, ColumnWidth, line);
    y += line + Gap;
    mPurpose->setGeometry(ColumnLeft, y, PurposeWidth, 2 * line);
    y += 2 * line + Gap;
    mNotice->move(ColumnLeft, y);
    placeAuthorLink();
    y += qMax(mNotice->height(), mAuthorLink->height()) + Gap;
    const int thanksHeight = qMax(line, mThanks->heightForWidth(ColumnWidth));
    mThanks->setGeometry(ColumnLeft, y, ColumnWidth, thanksHeight);
    y += thanksHeight + Gap;
    mUpperRule->setGeometry(ColumnLeft, y, ColumnWidth, 2);
    y += 2 + Gap;
    mMakersNotice->setGeometry(ColumnLeft, y, ColumnWidth, 3 * line);
    y += 3 * line + Gap;
    mLowerRule->setGeometry(ColumnLeft, y, ColumnWidth, 2);
    y += 2 + Margin;

    // The only button: Enter and Escape both just close.
    mOkButton->setDefault(true);
    connect(mOkButton, &QPushButton::clicked, this, &QDialog::accept);
    const QSize button = mOkButton->sizeHint().expandedTo(QSize(75, 0));
    mOkButton->setGeometry(DialogWidth - Margin - button.width(), y, button.width(),
                           button.height());
    y += button.height() + Margin;

    // As tall as its content: the text column, or the picture panel when that reaches lower.
    setFixedSize(DialogWidth, qMax(y, PanelGeometry.bottom() + 1 + Margin));
}

QUrl AboutDialog::siteUrl()
{
    return QUrl(u"https://example.org/hmktse"_s);
}

QUrl AboutDialog::mailUrl()
{
    return QUrl(u"mailto:"_s + MailAddress);
}

void AboutDialog::placeAuthorLink()
{
    mNotice->adjustSize();
    mAuthorLink->adjustSize();
    mAuthorLink->move(mNotice->x() + mNotice->width(), mNotice->y());
}

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mHiddenSpot && event->type() == QEvent::MouseButtonDblClick) {
        mPurpose->setText(NutWarning);
        return true;
    }
    if (watched == mAuthorLink && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            mAuthorLink->rect().contains(mouse->position().toPoint())) {
            Q_EMIT openRequested(mailUrl());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
