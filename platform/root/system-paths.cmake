# The one table of the system's constant paths: where each lives on an installed machine,
# fixed from the install prefix (Filesystem Hierarchy Standard). At run time each is
# resolved under the filesystem root ($T48_ROOT when set, else T48_ROOT of the build).
#
#   PreferencesFolder  the users' profile files; shared and writable (mode 1777)
#   Helper             T48Helper, started by the panel for every profile write and walk
#   DownloadManager    the application the "Download Manager" button opens
#   PrinterIcon        the printer icon of the profile window's rows
#   ProfilesFolder     where the profile window's "add" starts looking for profiles
#   DriverPPD          the T48 PPD, where CUPS lists the PPDs of installed drivers (lpinfo
#                      -m: "lsb/usr/orvell/T48.ppd"); t48-queue-profiles builds on it
#
# Each name N sets T48_PATH_N for the install rules; platform/root turns the table into
# C++ (system-paths-table.inc) and shell assignments (system-paths.sh) for the scripts.
include(GNUInstallDirs)
set(T48_PROGRAM_FOLDER "${CMAKE_INSTALL_FULL_LIBEXECDIR}/t48")
set(T48_DATA_FOLDER "${CMAKE_INSTALL_FULL_DATADIR}/t48")
set(T48_SYSTEM_PATHS
    PreferencesFolder "${CMAKE_INSTALL_FULL_LOCALSTATEDIR}/lib/t48/orvell.printers.T48"
    Helper "${T48_PROGRAM_FOLDER}/T48Helper"
    DownloadManager "${T48_PROGRAM_FOLDER}/ORVELL Download Manager.app"
    PrinterIcon "${T48_DATA_FOLDER}/icons/bt48ps.icns"
    ProfilesFolder "${T48_DATA_FOLDER}/profiles"
    DriverPPD "${CMAKE_INSTALL_FULL_DATADIR}/ppd/orvell/T48.ppd")

set(T48_SYSTEM_PATH_NAMES)
list(LENGTH T48_SYSTEM_PATHS count)
math(EXPR last "${count} - 1")
foreach(at RANGE 0 ${last} 2)
    math(EXPR next "${at} + 1")
    list(GET T48_SYSTEM_PATHS ${at} name)
    list(GET T48_SYSTEM_PATHS ${next} path)
    set(T48_PATH_${name} "${path}")
    list(APPEND T48_SYSTEM_PATH_NAMES ${name})
endforeach()

# t48_rooted_path(OUT PATH): PATH under the build's filesystem root (T48_ROOT), where the
# install rules put what the programs look for there.
function(t48_rooted_path out path)
    string(REGEX REPLACE "//+" "/" rooted "${T48_ROOT}/${path}")
    set(${out} "${rooted}" PARENT_SCOPE)
endfunction()
