#include "no_device_panel.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "CommDrv.h"

namespace ui {

namespace {

QString StateText(const PortAttempt& attempt) {
  switch (attempt.state) {
    case PortState::kNotFound:
      return QStringLiteral("не найден");
    case PortState::kNoPermission:
      return QStringLiteral("нет прав на доступ к порту");
    case PortState::kBusy:
      return QStringLiteral("занят: его держит другая программа");
    case PortState::kNotSerial:
      return QStringLiteral("не последовательный порт: скорость и формат связи не задаются");
    case PortState::kOpen:
      return QStringLiteral("открыт");
    case PortState::kFailed:
      break;
  }
  return attempt.detail.isEmpty() ? QStringLiteral("не открывается")
                                  : QStringLiteral("не открывается (%1)").arg(attempt.detail);
}

QString Code(const QString& text) {
  return QStringLiteral("<pre style=\"margin-left:16px\">%1</pre>").arg(text.toHtmlEscaped());
}

}  // namespace

QString NoDeviceText(const NoDeviceReport& report) {
  QString html = QStringLiteral("<h3>Нет связи с устройством</h3>");
  html += QStringLiteral(
      "<p>Подключите адаптер ZELT-2 GSM к порту USB компьютера. Программа ищет устройство "
      "каждые 3 секунды; страницы появятся, как только порт откроется.</p>");
  if (report.ports.isEmpty()) {
    html += report.ports_given
                ? QStringLiteral("<p>Порты, заданные в --port, не найдены.</p>")
                : QStringLiteral("<p>Порты USB (ttyUSB*, ttyACM*) не найдены: адаптер не "
                                 "подключён или система его не узнала.</p>");
  } else {
    html += QStringLiteral("<p>Проверенные порты:</p><ul>");
    for (const PortAttempt& attempt : report.ports) {
      html += QStringLiteral("<li><b>%1</b>: %2</li>")
                  .arg(attempt.port.toHtmlEscaped(), StateText(attempt).toHtmlEscaped());
    }
    html += QStringLiteral("</ul>");
  }
  const PortAttempt* no_permission = nullptr;
  bool busy = false;
  for (const PortAttempt& attempt : report.ports) {
    if (attempt.state == PortState::kNoPermission && !no_permission) no_permission = &attempt;
    busy |= attempt.state == PortState::kBusy;
  }
#ifndef _WIN32
  // The command names the group of the port found, when one was.
  const bool group_known = no_permission && !no_permission->group.isEmpty();
  const QString group = group_known ? no_permission->group : QStringLiteral("dialout");
  const QString port = no_permission ? TCommPortDriver::DevicePath(no_permission->port)
                                     : QStringLiteral("/dev/ttyUSB0");
  if (no_permission && no_permission->group_not_yet_active) {
    html += QStringLiteral(
                "<p><b>Нет прав на порт.</b> Вы уже в группе %1, но этот сеанс начат до "
                "того: войдите в систему заново (в одном терминале сразу: newgrp %1).</p>")
                .arg(group.toHtmlEscaped());
  } else {
    html += no_permission ? QStringLiteral("<p><b>Нет прав на порт.</b> ")
                          : QStringLiteral("<p>Если порт есть, но не открывается: ");
    html += group_known ? QStringLiteral("порт открывают только члены группы %1. ")
                              .arg(group.toHtmlEscaped())
                        : QStringLiteral(
                              "порт открывают только члены группы dialout (uucp в Arch). ");
    html += QStringLiteral("Добавьте себя в группу и войдите в систему заново:</p>");
    html += Code(QStringLiteral("ls -l %1\ngroups\nsudo usermod -aG %2 $USER").arg(port, group));
  }
#endif
  if (busy) {
    html += QStringLiteral(
        "<p>Занятый порт держит другая программа (терминал, другой экземпляр zelt): "
        "закройте её.</p>");
  }
  if (!report.script_problem.isEmpty()) {
    html += QStringLiteral("<p><b>%1.</b></p>").arg(report.script_problem.toHtmlEscaped());
  }
  html += QStringLiteral(
      "<p>Осмотреть программу без устройства (с имитацией прибора): кнопка ниже или команда</p>");
  html += Code(QStringLiteral("zelt --demo"));
  return html;
}

NoDevicePanel::NoDevicePanel(QWidget* parent) : QScrollArea(parent) {
  setObjectName(QStringLiteral("NoDevicePanel"));
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setWidgetResizable(true);
  setFocusPolicy(Qt::NoFocus);
  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(12, 12, 12, 12);
  text_ = new QLabel(content);
  text_->setObjectName(QStringLiteral("NoDeviceText"));
  text_->setTextFormat(Qt::RichText);
  text_->setWordWrap(true);
  text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(text_);
  demo_ = new QPushButton(QString::fromUtf8(kDemoCaption), content);
  demo_->setObjectName(QStringLiteral("StartDemo"));
  demo_->hide();
  connect(demo_, &QPushButton::clicked, this, [this] {
    if (start_demo_) start_demo_();
  });
  layout->addWidget(demo_, 0, Qt::AlignLeft);
  layout->addStretch(1);
  setWidget(content);
  SetReport({});
}

void NoDevicePanel::SetDemoAction(std::function<void()> start_demo) {
  start_demo_ = std::move(start_demo);
  demo_->setVisible(static_cast<bool>(start_demo_));
}

void NoDevicePanel::SetReport(const NoDeviceReport& report) { text_->setText(NoDeviceText(report)); }

QString NoDevicePanel::Text() const { return text_->text(); }

}  // namespace ui
