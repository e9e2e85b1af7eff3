#include "mainwindow/searchwindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "mainwindow/mainwindow.h"
#include "platform/messageservice.h"
#include "platform/twips.h"
#include "records/recordgrid.h"

SearchWindow::SearchWindow(RecordGrid& grid, MessageService& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_grid(grid),
      m_messages(messages) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("查找提示信息"));
    setFixedSize(twips::toPixels(4860), twips::toPixels(810));

    auto* label = new QLabel(QStringLiteral("搜索信息(支持模糊搜索)："), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twips::rect(240, 240, 2295, 255));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setGeometry(twips::rect(2520, 120, 1335, 375));
    m_text->setAccessibleName(label->text());
    label->setBuddy(m_text);
    auto* button = new QPushButton(QStringLiteral("搜索"), this);
    button->setObjectName(QStringLiteral("Command1"));
    button->setGeometry(twips::rect(3960, 120, 855, 375));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, &SearchWindow::search);
}

void SearchWindow::search() {
    for (int r = 0; r < m_grid.rows(); ++r) {
        for (int c = 0; c < m_grid.cols(); ++c) {
            m_grid.setRow(r);
            m_grid.setCol(c);
            const bool match = m_grid.textMatrix(r, c) == m_text->text();
            m_grid.setCellForeColor(match ? RecordGrid::kRed : RecordGrid::kDefaultColour);
        }
    }
    m_messages.show(QStringLiteral("提示"), QStringLiteral("搜索结束！"), MessageIcon::Information);
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
