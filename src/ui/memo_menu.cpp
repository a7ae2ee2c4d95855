#include "memo_menu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSaveFile>

namespace ui {

namespace {

constexpr char kSaveAs[] = "Сохранить как...";
constexpr char kClear[] = "Очистить";
constexpr char kPartsName[] = "MemoMenuParts";

// What the menu's own entries need, kept with the memo.
class MemoMenuParts : public QObject {
 public:
  MemoMenuParts(QPlainTextEdit* memo, std::function<QString(const QString&)> choose,
                std::function<void(const QString&)> tell)
      : QObject(memo), choose_file(std::move(choose)), report(std::move(tell)) {
    setObjectName(QString::fromLatin1(kPartsName));
  }
  std::function<QString(const QString&)> choose_file;
  std::function<void(const QString&)> report;
};

}  // namespace

bool SaveMemoText(const QPlainTextEdit* memo, const QString& file) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
  QString text = memo->toPlainText();
  if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) text += QLatin1Char('\n');
  const QByteArray bytes = text.toUtf8();
  // QSaveFile commits even when its buffer could not be written out: the
  // write is checked before, so that a full disk leaves the old file.
  if (out.write(bytes) != bytes.size() || !out.flush()) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

QMenu* MakeMemoMenu(QPlainTextEdit* memo) {
  QMenu* menu = memo->createStandardContextMenu();
  menu->addSeparator();
  QAction* save = menu->addAction(QString::fromUtf8(kSaveAs));
  save->setObjectName(QStringLiteral("SaveAs"));
  save->setEnabled(!memo->document()->isEmpty());
  QAction* clear = menu->addAction(QString::fromUtf8(kClear));
  clear->setObjectName(QStringLiteral("Clear"));
  clear->setEnabled(!memo->document()->isEmpty());
  QPointer<MemoMenuParts> parts = dynamic_cast<MemoMenuParts*>(
      memo->findChild<QObject*>(QString::fromLatin1(kPartsName), Qt::FindDirectChildrenOnly));
  QObject::connect(save, &QAction::triggered, memo, [memo, parts] {
    if (!parts || !parts->choose_file) return;
    const QString file = parts->choose_file(memo->objectName() + QStringLiteral(".txt"));
    if (file.isEmpty()) return;
    const bool existed = QFileInfo::exists(file);
    const bool saved = SaveMemoText(memo, file);
    if (!parts->report) return;
    if (saved)
      parts->report(QStringLiteral("Сохранено: ") + file);
    else
      parts->report(QStringLiteral("Не удалось сохранить: ") + file +
                    (existed ? QStringLiteral(" (файл остался прежним)")
                             : QStringLiteral(" (файл не создан)")));
  });
  // The memo is cleared as a line cap clears it, with its change signal.
  QObject::connect(clear, &QAction::triggered, memo, [memo] { memo->clear(); });
  return menu;
}

void AddMemoMenu(QPlainTextEdit* memo, std::function<QString(const QString&)> choose_file,
                 std::function<void(const QString&)> report) {
  new MemoMenuParts(memo, std::move(choose_file), std::move(report));
  memo->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(memo, &QWidget::customContextMenuRequested, memo, [memo](const QPoint& at) {
    QMenu* menu = MakeMemoMenu(memo);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(memo->viewport()->mapToGlobal(at));
  });
}

}  // namespace ui
