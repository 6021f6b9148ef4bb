[playlist]
File2=take.wav
Title2=Take
File1=C:\music\song.mid
Length1=3
NumberOfEntries=2
Version=2
