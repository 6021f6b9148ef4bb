// Identifiers shared by panekit32's resources and the sbay32 program:
// commands that cross panels, control messages, launcher keys and texts.
// Included by resource scripts, so only preprocessor definitions live here.
#ifndef PANEKIT_PANEL_IDS_H
#define PANEKIT_PANEL_IDS_H

// ---- Control messages understood by every panekit32 control ----
#define CMD_SET_ON 5000  // latch a button, light an indicator
#define CMD_SET_OFF 5001 // release a button, darken an indicator

// ---- BitmapButton notifications (wParam of WM_COMMAND to the parent) ----
#define NOTIFY_LATCHED 1030
#define NOTIFY_UNLATCHED 1034
#define NOTIFY_RELEASED 5002

// ---- BitmapButton style bits (low byte of the window style) ----
#define BBS_AUTOREPEAT 0x01
#define BBS_NOTIFYONRELEASE 0x04
#define BBS_TOGGLE 0x08
#define BBS_RELEASENOTIFY 0x10
#define BBS_MUTEFACE 0x20
#define BBS_PRESETFACE 0x40

// ---- Launcher bar keys ----
#define IDC_SHOW_CD 2000
#define IDC_SHOW_MIDI 2003
#define IDC_SHOW_WAVE 2006
#define IDC_SHOW_MIXER 2009
#define IDC_SHOW_PLAYLIST 7030
#define IDC_SHOW_VIDEO 4040
#define IDC_EDIT_PLAYLIST 1040
#define IDC_CONFIG 7040
#define IDC_EFX 4049

// ---- Player command protocol ----
#define IDC_PLAY 4000
#define IDC_PAUSE 4004
#define IDC_STOP 1002
#define IDC_FF 1004
#define IDC_REW 1006
#define IDC_FFSKIP 1008
#define IDC_REWSKIP 1010
#define IDC_POWER 1020
#define IDC_OPEN 2012
#define IDC_RECORD 1022
#define IDC_TIME 3001
#define IDC_TITLE 3002
#define IDC_TOTAL 3003

// ---- Panel keys named across panels ----
#define IDC_WAVELOCK 4024
#define IDC_RECSOURCE 4028
#define IDC_VIDEOWINDOW 4042

// High word of lParam telling where a player command comes from.
#define FROM_PLAYLIST 5
#define PLAY_TRACK_REQUEST 6
#define OPEN_FROM_PLAYLIST 1001
#define OPEN_AND_PLAY 1002
// A command the station sends a player itself (a stop at a hand-over, at the
// end of a file, track or disc): never the user's, so the keys do not follow it.
#define FROM_STATION 7

// ---- Playlist panel requests ----
#define IDC_MARK_RUNNING 5998
#define IDC_REFRESH_LIST 5999
#define IDC_RESTART_LIST 6000
#define IDC_START_SELECTION 1122

// ---- Class-name strings ----
#define IDS_CLASS_BITMAPBUTTON 0
#define IDS_CLASS_SLIDERVOL 11
#define IDS_CLASS_HILITEBITMAP 12

// ---- Message texts (101..128) and dialog labels (501..573) ----
#define IDS_FIRST_MESSAGE 101
#define IDS_LAST_MESSAGE 128
#define IDS_FIRST_LABEL 501
#define IDS_LAST_LABEL 573

#define IDS_UNTITLED 101
#define IDS_LIST_UNTITLED 102
#define IDS_UNTITLED_WAV 103
#define IDS_CANT_GET_TIMER 104
#define IDS_ERROR_CAPTION 105
#define IDS_TRACK 106
#define IDS_CAPTION 107
#define IDS_CANT_OPEN_WINDOW 108
#define IDS_CD_DIALOG_ERROR 109
#define IDS_MIDI_DIALOG_ERROR 110
#define IDS_PLAYLIST_DIALOG_ERROR 111
#define IDS_WAVE_DIALOG_ERROR 112
#define IDS_VIDEO_DIALOG_ERROR 113
#define IDS_CANT_OPEN_MIXER 114
#define IDS_MIXER_DIALOG_ERROR 115
#define IDS_CD_DIFFERENT 116
#define IDS_DISC_NOT_LOADED 117
#define IDS_REPEAT 118
#define IDS_SINGLE 119
#define IDS_WAVE_EXISTS 120
#define IDS_WAVE_CHANGED 121
#define IDS_NO_DISC 122
#define IDS_DOOR_OPEN 123
#define IDS_TEMPO 124
#define IDS_TRACK_NAME 125
#define IDS_FONT_FACE 126
#define IDS_CANT_SAVE_SETTINGS 127
#define IDS_DEVICE_ERROR 128

// ---- Names of the keys, faders and lights (601..670) ----
// What a screen reader reads: the window text of each control. The station
// sets the texts from these strings; the templates carry the same words.
#define IDS_FIRST_NAME 601
#define IDS_LAST_NAME 670
#define IDS_NAME_PLAY 601
#define IDS_NAME_PAUSE 602
#define IDS_NAME_STOP 603
#define IDS_NAME_PREVIOUS_TRACK 604
#define IDS_NAME_BACK_TO_START 605
#define IDS_NAME_REWIND 606
#define IDS_NAME_FAST_FORWARD 607
#define IDS_NAME_NEXT_TRACK 608
#define IDS_NAME_RECORD 609
#define IDS_NAME_OPEN 610
#define IDS_NAME_POWER 611
#define IDS_NAME_CD_PANEL 612
#define IDS_NAME_MIDI_PANEL 613
#define IDS_NAME_WAVE_PANEL 614
#define IDS_NAME_MIXER_PANEL 615
#define IDS_NAME_PLAYLIST_PANEL 616
#define IDS_NAME_CONFIGURATION 617
#define IDS_NAME_PLAYLIST_EDITOR 618
#define IDS_NAME_EFX_WINDOW 619
#define IDS_NAME_VIDEO_PANEL 620
#define IDS_NAME_EJECT 621
#define IDS_NAME_NAME_CD 622
#define IDS_NAME_REPEAT 623
#define IDS_NAME_NEXT_SOURCE 624
#define IDS_NAME_SOURCE_CD 625
#define IDS_NAME_SOURCE_MIC 626
#define IDS_NAME_SOURCE_LINE 627
#define IDS_NAME_SOURCE_LOOP 628
#define IDS_NAME_LOCK 629
#define IDS_NAME_OWN_WINDOW 630
#define IDS_NAME_ENTRIES 631
#define IDS_NAME_PLAYING_WAVE 632
#define IDS_NAME_PLAYING_MIDI 633
#define IDS_NAME_PLAYING_CD 634
#define IDS_NAME_PLAYING_VIDEO 635
#define IDS_NAME_REC_LEFT 636
#define IDS_NAME_REC_RIGHT 637
#define IDS_NAME_MIC_VOLUME 638
#define IDS_NAME_LINE_LEFT 639
#define IDS_NAME_LINE_RIGHT 640
#define IDS_NAME_CD_LEFT 641
#define IDS_NAME_CD_RIGHT 642
#define IDS_NAME_SYNTH_LEFT 643
#define IDS_NAME_SYNTH_RIGHT 644
#define IDS_NAME_WAVE_LEFT 645
#define IDS_NAME_WAVE_RIGHT 646
#define IDS_NAME_SOFT_SYNTH_LEFT 647
#define IDS_NAME_SOFT_SYNTH_RIGHT 648
#define IDS_NAME_MONO_VOLUME 649
#define IDS_NAME_MASTER_LEFT 650
#define IDS_NAME_MASTER_RIGHT 651
#define IDS_NAME_LOOP_VOLUME 652
#define IDS_NAME_MUTE_MIC 653
#define IDS_NAME_MUTE_LINE 654
#define IDS_NAME_MUTE_CD 655
#define IDS_NAME_MUTE_SYNTH 656
#define IDS_NAME_MUTE_WAVE 657
#define IDS_NAME_MUTE_SOFT_SYNTH 658
#define IDS_NAME_MUTE_MONO 659
#define IDS_NAME_MUTE_MASTER 660
#define IDS_NAME_MUTE_LOOP 661
#define IDS_NAME_HALL1 662
#define IDS_NAME_HALL2 663
#define IDS_NAME_CHURCH 664
#define IDS_NAME_DISCO 665
#define IDS_NAME_MANUAL 666
#define IDS_NAME_TREBLE 667
#define IDS_NAME_BASS 668
#define IDS_NAME_WIDTH 669
#define IDS_NAME_EFX_SWITCH 670

// ---- SliderVol messages (SVM_POSCHANGED goes to the parent) ----
#define SVM_POSCHANGED 1524
#define SVM_SETRANGE 1525
#define SVM_SETPOS 1526
#define SVM_GETPOS 1527
#define SVM_MOVEBY 1528
#define SVN_CHANGED 1 // low word of SVM_POSCHANGED's wParam
// Window slots of a SliderVol (byte offsets for GetWindowLong) that its
// panel reads after a change: the last pixel step and the last value step.
#define SVL_PIXELSTEP 24
#define SVL_VALUESTEP 28

#endif
