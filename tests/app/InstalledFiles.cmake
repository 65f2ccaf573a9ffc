# What an install puts into its prefix, the package's /usr included.
set(installed_files
  bin/horolux
  libexec/horolux/horolux-play
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/${APP_ID}.svg
  share/man/man1/horolux.1.gz
  share/doc/horolux/copyright
  share/doc/horolux/changelog.gz)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND installed_files share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
