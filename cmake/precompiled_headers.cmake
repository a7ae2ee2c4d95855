# Precompiled headers: every source of a target below starts from the standard,
# Qt and GoogleTest headers most files include, parsed once per target. The
# sanitizer build turns them on (ZELT_PRECOMPILE_HEADERS), where reading the
# Qt headers costs more than compiling most files' own code.
set(zelt_std_headers <algorithm> <functional> <memory> <optional> <string> <string_view> <vector>)
set(zelt_qt_core_headers ${zelt_std_headers} <QByteArray> <QDir> <QFile> <QObject> <QString>
    <QTimer>)
set(zelt_qt_widgets_headers ${zelt_qt_core_headers} <QApplication> <QCheckBox> <QComboBox>
    <QLabel> <QLineEdit> <QPlainTextEdit> <QPushButton> <QTreeWidget> <QWidget>)

function(zelt_precompile headers)
  foreach(target ${ARGN})
    if(TARGET ${target})
      target_precompile_headers(${target} PRIVATE ${${headers}})
    endif()
  endforeach()
endfunction()

zelt_precompile(zelt_std_headers engine files scriptcheck device)
zelt_precompile(zelt_qt_core_headers link zeltsim)
zelt_precompile(zelt_qt_widgets_headers ui tables program)
list(APPEND zelt_std_headers <gtest/gtest.h>)
list(APPEND zelt_qt_core_headers <gtest/gtest.h>)
list(APPEND zelt_qt_widgets_headers <gtest/gtest.h>)
zelt_precompile(zelt_std_headers engine_tests files_tests)
zelt_precompile(zelt_qt_core_headers device_unit_tests)
zelt_precompile(zelt_qt_widgets_headers window_tests ui_events_tests ui_tables_tests)
