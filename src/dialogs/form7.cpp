#include "form7.h"

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
constexpr int MinimumHeight = 250;
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

Form7::Form7(QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , Picture1(new QFrame(this))
    , Image1(label(QString(), u"Image1"_s, Picture1))
    , Label5(label(u"Version"_s, u"Label5"_s, Picture1))
    , Label6(label(u"1.1"_s, u"Label6"_s, Picture1))
    , Label10(label(QString(), u"Label10"_s, Picture1))
    , Label1(label(u"Harrowmark Tileset Editor"_s, u"Label1"_s, this))
    , Label3(label(Purpose, u"Label3"_s, this))
    , Label2(label(u"© 2026 "_s, u"Label2"_s, this))
    , Label7(label(u"the HMK Tileset Editor contributors"_s, u"Label7"_s, this))
    , Label9(label(u"Thanks to everyone who tested it and sent in tileset notes."_s, u"Label9"_s,
                   this))
    , Line1(rule(u"Line1"_s, this))
    , Label4(label(u"Harrowmark and Harrowmark: Veldrune are the property of their makers. "
                   "This editor is an independent tool and is not made, supported or "
                   "endorsed by them."_s,
                   u"Label4"_s, this))
    , Line2(rule(u"Line2"_s, this))
    , Command1(new QPushButton(u"Ok"_s, this))
{
    setObjectName(u"Form7"_s);
    setWindowTitle(u"About HMK Tileset Editor"_s);
    Picture1->setObjectName(u"Picture1"_s);
    Command1->setObjectName(u"Command1"_s);

    // The picture panel: children are stacked back to front in creation order.
    Picture1->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    Picture1->setGeometry(PanelGeometry);
    Image1->setScaledContents(true);
    Image1->setPixmap(renderPicture(PanelGeometry.size().shrunkBy(
        QMargins(PanelBorder, PanelBorder, PanelBorder, PanelBorder))));
    Image1->setGeometry(Picture1->contentsRect());
    const int textHeight = Label5->fontMetrics().height();
    overPicture(Label5);
    overPicture(Label6);
    Label5->setGeometry(0, VersionTop, PanelGeometry.width(), textHeight);
    Label6->setGeometry(0, NumberTop, PanelGeometry.width(), textHeight);
    // The hidden spot: an empty label that draws nothing over the picture.
    Label10->setAutoFillBackground(false);
    Label10->setGeometry(HiddenSpot);
    Label10->installEventFilter(this);

    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    for (QLabel *text : {Label3, Label9, Label4}) {
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    QFont underlined = Label7->font();
    underlined.setUnderline(true);
    Label7->setFont(underlined);
    QPalette linkColours = Label7->palette();
    linkColours.setColor(QPalette::WindowText, Qt::blue);
    Label7->setPalette(linkColours);
    Label7->setCursor(Qt::PointingHandCursor);
    Label7->setToolTip(MailAddress);
    Label7->installEventFilter(this);

    // Heights follow the font; widths are fixed so the texts wrap where they were meant to.
    const int line = Label1->fontMetrics().height();
    int y = Margin;
    Label1->setGeometry(ColumnLeft, y, ColumnWidth, line);
    y += line + Gap;
    Label3->setGeometry(ColumnLeft, y, PurposeWidth, 2 * line);
    y += 2 * line + Gap;
    Label2->move(ColumnLeft, y);
    placeAuthorLink();
    y += qMax(Label2->height(), Label7->height()) + Gap;
    const int thanksHeight = qMax(line, Label9->heightForWidth(ColumnWidth));
    Label9->setGeometry(ColumnLeft, y, ColumnWidth, thanksHeight);
    y += thanksHeight + Gap;
    Line1->setGeometry(ColumnLeft, y, ColumnWidth, 2);
    y += 2 + Gap;
    Label4->setGeometry(ColumnLeft, y, ColumnWidth, 3 * line);
    y += 3 * line + Gap;
    Line2->setGeometry(ColumnLeft, y, ColumnWidth, 2);
    y += 2 + Margin;

    // The only button: Enter and Escape both just close.
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    const QSize button = Command1->sizeHint().expandedTo(QSize(75, 0));
    Command1->setGeometry(DialogWidth - Margin - button.width(), y, button.width(),
                          button.height());
    y += button.height() + Margin;

    setFixedSize(DialogWidth, qMax(MinimumHeight, y));
}

QUrl Form7::siteUrl()
{
    return QUrl(u"https://example.org/hmktse"_s);
}

QUrl Form7::mailUrl()
{
    return QUrl(u"mailto:"_s + MailAddress);
}

void Form7::placeAuthorLink()
{
    Label2->adjustSize();
    Label7->adjustSize();
    Label7->move(Label2->x() + Label2->width(), Label2->y());
}

bool Form7::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label10 && event->type() == QEvent::MouseButtonDblClick) {
        Label3->setText(NutWarning);
        return true;
    }
    if (watched == Label7 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label7->rect().contains(mouse->position().toPoint())) {
            Q_EMIT openRequested(mailUrl());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
