# Fails the build when an include points against the layers' direction:
#   tqhost -> tqservicecode -> tqglobal -> tqplatform
# GLOBAL_FILES (the host's interface) may include no component or host header;
# PLATFORM_FILES may include no header of the libraries above it; the component's files
# (ALL_FILES) include no host header, and its logic files (LOGIC_FILES) no QtWidgets header.
include(${FILE_LISTS})
set(problems "")
function(refuse_includes files pattern reason)
    foreach(file IN LISTS files)
        file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${pattern})/")
        if(lines)
            string(APPEND problems "\n  ${file} ${reason}")
        endif()
    endforeach()
    set(problems "${problems}" PARENT_SCOPE)
endfunction()
refuse_includes("${PLATFORM_FILES}" "tqglobal|tqservicecode|tqhost"
    "is a platform file and includes a header from above the platform (tqglobal, tqservicecode or tqhost)")
refuse_includes("${GLOBAL_FILES}" "tqservicecode|tqhost"
    "is a tqglobal file and includes a component or host header: the host's interface sits below the component")
refuse_includes("${ALL_FILES}" "tqhost"
    "includes a tqhost header: the component reaches the host only through GIC")
set(widget_headers "QtWidgets|QtPrintSupport|QWidget|QDialog|QApplication|QMainWindow|QPushButton|QLabel|QListWidget|QLineEdit|QCheckBox|QMessageBox|QTableView|QTreeWidget|QToolBar|QStatusBar|QComboBox|QCalendarWidget|QFileDialog|QTextBrowser|QTextEdit|QProgressBar|QLayout|QVBoxLayout|QHBoxLayout|QGridLayout|QAbstractButton|QPrinter|QPrintPreviewDialog")
foreach(file IN LISTS LOGIC_FILES)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*<(${widget_headers})[/>]")
    if(lines)
        string(APPEND problems "\n  ${file} is a logic file and includes a QtWidgets header: ${lines}")
    endif()
endforeach()
if(problems)
    message(FATAL_ERROR "Dependency rules broken:${problems}")
endif()
