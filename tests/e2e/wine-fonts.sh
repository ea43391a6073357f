# Sourced after scripts/wine-env.sh: the prefix in WINEPREFIX shows the windows' 宋体 (SimSun)
# in AR PL UMing, a Song typeface (Debian's fonts-arphic-uming). Without it Wine falls back to
# a bitmap face in which hyphens vanish and many characters blur.
kelpo_wine_song_font() {
  local key='HKCU\Software\Wine\Fonts\Replacements'
  kelpo_wine reg add "$key" /v '宋体' /d 'AR PL UMing CN' /f
  kelpo_wine reg add "$key" /v 'SimSun' /d 'AR PL UMing CN' /f
}
