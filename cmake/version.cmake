# The product's version: the one place it is written. The VERSIONINFO
# resources of the program, the library and corractl are made from it, and
# the installers read it back from those files.
set(ORVANE_VERSION 6.1.0)
set(ORVANE_PUBLISHER "Pelkor")
set(ORVANE_COPYRIGHT "Copyright (C) 2026 Pelkor")

string(REPLACE "." ";" _orvane_version_parts ${ORVANE_VERSION})
list(GET _orvane_version_parts 0 ORVANE_VERSION_MAJOR)
list(GET _orvane_version_parts 1 ORVANE_VERSION_MINOR)
list(GET _orvane_version_parts 2 ORVANE_VERSION_PATCH)

if(WIN32)
  # What the installer needs of the above besides the version, which it reads
  # from the files it packs.
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version/version.nsh CONTENT
    "!define ORVANE_PUBLISHER \"${ORVANE_PUBLISHER}\"\n!define ORVANE_COPYRIGHT \"${ORVANE_COPYRIGHT}\"\n")

  # Enabled here, at the top, so that every directory's targets can take a
  # resource script.
  enable_language(RC)

  # Gives TARGET a VERSIONINFO resource: product name and version, the file's
  # description, its original file name and the copyright.
  function(orvane_version_info target description)
    get_target_property(_name ${target} OUTPUT_NAME)
    if(NOT _name)
      set(_name ${target})
    endif()
    get_target_property(_type ${target} TYPE)
    if(_type STREQUAL "SHARED_LIBRARY")
      set(ORVANE_FILE_TYPE VFT_DLL)
      set(ORVANE_FILE_NAME "${_name}.dll")
    else()
      set(ORVANE_FILE_TYPE VFT_APP)
      set(ORVANE_FILE_NAME "${_name}.exe")
    endif()
    set(ORVANE_FILE_DESCRIPTION "${description}")
    set(_rc ${CMAKE_BINARY_DIR}/version/${target}.rc)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${_rc} @ONLY)
    target_sources(${target} PRIVATE ${_rc})
  endfunction()

  # Runs once every directory has made its targets; the program's target is
  # taken when it is part of the tree.
  function(orvane_version_info_all)
    orvane_version_info(CorrantApi "Orvane Sound device library")
    if(TARGET corractl)
      orvane_version_info(corractl "Orvane Sound command-line tool")
    endif()
    if(TARGET orvane_sound)
      orvane_version_info(orvane_sound "Orvane Sound control panel")
    endif()
  endfunction()
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL orvane_version_info_all)
endif()
