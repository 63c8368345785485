# Precompiled headers for the targets with several sources: the standard and
# Qt headers nearly every source includes are parsed once per target instead
# of once per source (parsing them was about half of a source's compile time).
# Configure with -DHARMONET_PCH=OFF to build without.
option(HARMONET_PCH "Precompile the common headers of the targets with several sources" ON)

set(HARMONET_PCH_CORE
  <algorithm> <array> <chrono> <cmath> <functional> <memory> <optional> <span> <vector>
  <QByteArray> <QCoreApplication> <QFile> <QFileInfo> <QList> <QObject> <QString> <QStringList> <QtGlobal>)
set(HARMONET_PCH_WIDGETS ${HARMONET_PCH_CORE}
  <QAction> <QApplication> <QCheckBox> <QComboBox> <QKeyEvent> <QLabel> <QMenu> <QPainter> <QPushButton>
  <QScrollArea> <QSlider> <QTimer> <QVBoxLayout> <QWidget>)
set(HARMONET_PCH_TESTS ${HARMONET_PCH_WIDGETS} <QTest> <gtest/gtest.h>)

# Gives target the headers of its kind: CORE (Qt Core only), WIDGETS or TESTS.
# A target with fewer than four sources gains less than the header costs.
# Each target compiles its own: a test program cannot use another's, since Qt
# defines QT_TESTCASE_BUILDDIR and QT_TESTCASE_SOURCEDIR differently for each,
# and the compiler then refuses a header compiled for another.
function(harmonet_precompile target kind)
  if(NOT HARMONET_PCH)
    return()
  endif()
  get_target_property(sources ${target} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  list(LENGTH sources count)
  if(count LESS 4)
    return()
  endif()
  target_precompile_headers(${target} PRIVATE ${HARMONET_PCH_${kind}})
endfunction()
