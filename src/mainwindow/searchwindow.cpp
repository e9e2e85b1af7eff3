#include "mainwindow/searchwindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "mainwindow/mainwindow.h"
#include "mainwindow/searchtexts.h"
#include "platform/messageservice.h"
#include "platform/twips.h"
#include "records/recordgrid.h"

using namespace searchtexts;

namespace {

// A match in a fired row: red on white, where the row's highlight would swallow the red.
constexpr quint32 kWhite = 0x00FFFFFF;

}  // namespace

SearchWindow::SearchWindow(RecordGrid& grid, MessageService& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_grid(grid),
      m_messages(messages) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(kCaption);
    setFixedSize(twips::toPixels(4860), twips::toPixels(810));

    auto* label = new QLabel(kLabel, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twips::rect(240, 240, 2295, 255));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setGeometry(twips::rect(2520, 120, 1335, 375));
    m_text->setAccessibleName(label->text());
    label->setBuddy(m_text);
    auto* button = new QPushButton(kSearch, this);
    button->setObjectName(QStringLiteral("Command1"));
    button->setGeometry(twips::rect(3960, 120, 855, 375));
    button->setDefault(true);  // Enter in the text field searches
    connect(button, &QPushButton::clicked, this, &SearchWindow::search);
}

void SearchWindow::search() {
    const QString wanted = m_text->text();
    int matches = 0;
    // Every cell, the headings and the numbers included: an exact match is a match too.
    for (int r = 0; r < m_grid.rows(); ++r) {
        for (int c = 0; c < m_grid.cols(); ++c) {
            const bool match =
                !wanted.isEmpty() && m_grid.textMatrix(r, c).contains(wanted, Qt::CaseInsensitive);
            matches += match ? 1 : 0;
            m_grid.setRow(r);
            m_grid.setCol(c);
            // A fired row keeps its colours (yellow on the highlight) where nothing matches.
            const quint32 back = m_grid.cellBackColor(r, c);
            if (back == RecordGrid::kHighlight || back == kWhite) {
                m_grid.setCellForeColor(match ? RecordGrid::kRed : RecordGrid::kYellow);
                m_grid.setCellBackColor(match ? kWhite : RecordGrid::kHighlight);
            } else {
                m_grid.setCellForeColor(match ? RecordGrid::kRed : RecordGrid::kDefaultColour);
            }
        }
    }
    m_messages.show(kTitleNote, kDone.arg(matches), MessageIcon::Information);
}

void installSearchCommand(MainWindow& window) {
    QObject::connect(
        window.action(QStringLiteral("find")), &QAction::triggered, &window, [&window] {
            auto* search = window.findChild<SearchWindow*>(QString(), Qt::FindDirectChildrenOnly);
            if (!search) {
                search = new SearchWindow(window.grid(), window.messages(), &window);
                search->setAttribute(Qt::WA_DeleteOnClose);
            }
            search->exec();
        });
}
