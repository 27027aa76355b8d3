a.wav
 comment
stereo.ogg
xmissing.wav
