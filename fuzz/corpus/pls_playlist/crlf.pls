[playlist]
file10=ten.wav
FILE9=nine.mid
File 1=one.wav
File=none.wav
File3 =x.wav
File4=http://radio.example/a
