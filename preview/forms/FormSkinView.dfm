// Skin preview window: one of every control the skin engine draws, in three rows of three
// groups and a row of tab controls (close boxes, tabs at the bottom, buttons, tabs on the left),
// scroll bars along the right and bottom edges, a row of progress and track bars lying and
// standing with a media player, and a status bar with a progress bar and a size grip;
// menus to open or choose a skin and to switch skinning off and on; the skin data component with
// the built-in skin, set up as the main window's.
object FormSkinView: TFormSkinView
  Left = 120
  Top = 80
  Caption = '皮肤预览'
  ClientWidth = 780
  ClientHeight = 842
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  Menu = MainMenu1
  Position = poScreenCenter
  object GroupButtons: TGroupBox
    Left = 12
    Top = 8
    Width = 240
    Height = 124
    Caption = '按钮'
    TabOrder = 0
    object SpeedButton1: TSpeedButton
      Left = 12
      Top = 88
      Width = 100
      Height = 25
      Caption = '快速按钮'
    end
    object Button1: TButton
      Left = 12
      Top = 20
      Width = 100
      Height = 25
      Caption = '普通按钮'
      TabOrder = 0
    end
    object ButtonDefault: TButton
      Left = 124
      Top = 20
      Width = 100
      Height = 25
      Caption = '默认按钮'
      Default = True
      TabOrder = 1
    end
    object ButtonDisabled: TButton
      Left = 12
      Top = 54
      Width = 100
      Height = 25
      Caption = '禁用按钮'
      Enabled = False
      TabOrder = 2
    end
    object BitBtn1: TBitBtn
      Left = 124
      Top = 54
      Width = 100
      Height = 25
      Caption = '位图按钮'
      Margin = 6
      TabOrder = 3
    end
  end
  object GroupChecks: TGroupBox
    Left = 264
    Top = 8
    Width = 240
    Height = 124
    Caption = '复选与单选'
    TabOrder = 1
    object CheckChecked: TCheckBox
      Left = 12
      Top = 24
      Width = 100
      Height = 17
      Caption = '已选中'
      Checked = True
      TabOrder = 0
    end
    object CheckUnchecked: TCheckBox
      Left = 12
      Top = 54
      Width = 100
      Height = 17
      Caption = '未选中'
      TabOrder = 1
    end
    object CheckGrayed: TCheckBox
      Left = 12
      Top = 84
      Width = 100
      Height = 17
      Caption = '不确定'
      AllowGrayed = True
      State = cbGrayed
      TabOrder = 2
    end
    object Radio1: TRadioButton
      Left = 124
      Top = 24
      Width = 100
      Height = 17
      Caption = '单选甲'
      Checked = True
      TabOrder = 3
    end
    object Radio2: TRadioButton
      Left = 124
      Top = 54
      Width = 100
      Height = 17
      Caption = '单选乙'
      TabOrder = 4
    end
  end
  object RadioGroup1: TRadioGroup
    Left = 516
    Top = 8
    Width = 228
    Height = 124
    Caption = '单选组'
    ItemIndex = 1
    Items.Strings = (
      '小'
      '中'
      '大')
    TabOrder = 2
  end
  object GroupInput: TGroupBox
    Left = 12
    Top = 140
    Width = 240
    Height = 160
    Caption = '文字输入'
    TabOrder = 3
    object Edit1: TEdit
      Left = 12
      Top = 22
      Width = 216
      Height = 21
      Text = '单行编辑框'
      TabOrder = 0
    end
    object Memo1: TMemo
      Left = 12
      Top = 52
      Width = 216
      Height = 96
      Lines.Strings = (
        '多行编辑框'
        '第二行'
        '第三行')
      ScrollBars = ssVertical
      TabOrder = 1
    end
  end
  object GroupPick: TGroupBox
    Left = 264
    Top = 140
    Width = 240
    Height = 160
    Caption = '选择与调节'
    TabOrder = 4
    object ComboBox1: TComboBox
      Left = 12
      Top = 22
      Width = 216
      Height = 21
      Style = csDropDownList
      DropDownCount = 6
      ItemIndex = 0
      Items.Strings = (
        '组合框第一项'
        '组合框第二项'
        '组合框第三项'
        '组合框第四项'
        '组合框第五项'
        '组合框第六项'
        '组合框第七项'
        '组合框第八项'
        '组合框第九项'
        '组合框第十项'
        '组合框第十一项'
        '组合框第十二项')
      TabOrder = 0
    end
    object DateTimePicker1: TDateTimePicker
      Left = 12
      Top = 52
      Width = 216
      Height = 21
      TabOrder = 1
    end
    object EditUpDown: TEdit
      Left = 12
      Top = 82
      Width = 216
      Height = 21
      TabOrder = 2
    end
    object UpDown1: TUpDown
      Left = 211
      Top = 82
      Width = 17
      Height = 21
      Associate = EditUpDown
      Max = 100
      Position = 42
      TabOrder = 3
    end
    object TrackBar1: TTrackBar
      Left = 12
      Top = 112
      Width = 216
      Height = 36
      Max = 10
      Position = 4
      TabOrder = 4
    end
  end
  object GroupList: TGroupBox
    Left = 516
    Top = 140
    Width = 228
    Height = 160
    Caption = '列表框'
    TabOrder = 5
    object ListBox1: TListBox
      Left = 12
      Top = 22
      Width = 204
      Height = 126
      ItemIndex = 1
      Items.Strings = (
        '列表第一项'
        '列表第二项'
        '列表第三项'
        '列表第四项'
        '列表第五项'
        '列表第六项'
        '列表第七项'
        '列表第八项'
        '列表第九项')
      TabOrder = 0
    end
  end
  object PageControl1: TPageControl
    Left = 12
    Top = 308
    Width = 240
    Height = 170
    ActivePage = TabSheet1
    TabOrder = 6
    object TabSheet1: TTabSheet
      Caption = '第一页'
      object Panel1: TPanel
        Left = 8
        Top = 8
        Width = 210
        Height = 56
        Caption = '面板'
        TabOrder = 0
      end
      object LabelPage: TLabel
        Left = 8
        Top = 76
        Width = 210
        Height = 14
        Caption = '分页控件的第一页'
      end
    end
    object TabSheet2: TTabSheet
      Caption = '第二页'
      object CheckPage: TCheckBox
        Left = 8
        Top = 8
        Width = 150
        Height = 17
        Caption = '第二页上的复选框'
        TabOrder = 0
      end
    end
    object TabSheet3: TTabSheet
      Caption = '第三页'
    end
  end
  // Tag 7777: a close box on every tab; the second sheet has no tab.
  object PageClose: TPageControl
    Tag = 7777
    Left = 12
    Top = 486
    Width = 176
    Height = 170
    ActivePage = SheetFiles
    TabOrder = 11
    object SheetFiles: TTabSheet
      Caption = '文件'
      object LabelClose: TLabel
        Left = 8
        Top = 8
        Width = 150
        Height = 14
        Caption = '点标签上的叉关闭该页'
      end
    end
    object SheetHidden: TTabSheet
      Caption = '隐藏'
      TabVisible = False
    end
    object SheetKeys: TTabSheet
      Caption = '密钥'
    end
    object SheetLog: TTabSheet
      Caption = '日志'
    end
  end
  object TabBottom: TTabControl
    Left = 196
    Top = 486
    Width = 176
    Height = 170
    TabPosition = tpBottom
    Tabs.Strings = (
      '源'
      '目标'
      '选项')
    TabIndex = 1
    TabOrder = 12
    object LabelBottom: TLabel
      Left = 12
      Top = 12
      Width = 150
      Height = 14
      Caption = '标签在下方'
    end
  end
  object TabButtons: TTabControl
    Left = 380
    Top = 486
    Width = 176
    Height = 170
    Style = tsButtons
    Tabs.Strings = (
      '加密'
      '解密'
      '校验')
    TabIndex = 0
    TabOrder = 13
    object LabelButtons: TLabel
      Left = 12
      Top = 40
      Width = 150
      Height = 14
      Caption = '按钮式标签'
    end
  end
  object TabLeft: TTabControl
    Left = 564
    Top = 486
    Width = 180
    Height = 170
    TabPosition = tpLeft
    Tabs.Strings = (
      '左一'
      '左二'
      '左三')
    TabIndex = 0
    TabOrder = 14
    object LabelLeft: TLabel
      Left = 40
      Top = 12
      Width = 120
      Height = 14
      Caption = '标签在左侧'
    end
  end
  object TabControl1: TTabControl
    Left = 264
    Top = 308
    Width = 240
    Height = 170
    Tabs.Strings = (
      '常规'
      '高级'
      '关于')
    TabIndex = 0
    TabOrder = 7
    object PanelTab: TPanel
      Align = alClient
      BevelOuter = bvNone
      Caption = '标签控件的内容'
      TabOrder = 0
    end
  end
  object HeaderControl1: THeaderControl
    Align = alNone
    Left = 516
    Top = 308
    Width = 228
    Height = 20
    Sections = <
      item
        Text = '名称'
        Width = 120
      end
      item
        Text = '大小'
        Width = 108
      end>
  end
  object ListView1: TListView
    Left = 516
    Top = 332
    Width = 228
    Height = 146
    ViewStyle = vsReport
    RowSelect = True
    Columns = <
      item
        Caption = '文件'
        Width = 120
      end
      item
        Caption = '状态'
        Width = 100
      end>
    TabOrder = 8
  end
  object ScrollBarVert: TScrollBar
    Left = 752
    Top = 8
    Width = 17
    Height = 650
    Kind = sbVertical
    Max = 100
    PageSize = 20
    LargeChange = 20
    TabOrder = 9
  end
  object ScrollBarHorz: TScrollBar
    Left = 12
    Top = 666
    Width = 740
    Height = 17
    Max = 100
    PageSize = 20
    Position = 30
    LargeChange = 20
    TabOrder = 10
  end
  object GroupProgress: TGroupBox
    Left = 12
    Top = 692
    Width = 740
    Height = 120
    Caption = '进度与滑块'
    TabOrder = 15
    object ProgressHorz: TProgressBar
      Left = 12
      Top = 26
      Width = 300
      Height = 18
      Position = 65
      TabOrder = 0
    end
    object ProgressFull: TProgressBar
      Left = 12
      Top = 58
      Width = 300
      Height = 18
      Position = 100
      TabOrder = 1
    end
    object ProgressEmpty: TProgressBar
      Left = 12
      Top = 90
      Width = 300
      Height = 18
      TabOrder = 2
    end
    object ProgressVert: TProgressBar
      Left = 332
      Top = 22
      Width = 18
      Height = 88
      Orientation = pbVertical
      Position = 40
      TabOrder = 3
    end
    object TrackVert: TTrackBar
      Left = 370
      Top = 16
      Width = 40
      Height = 96
      Max = 10
      Orientation = trVertical
      Position = 3
      TabOrder = 4
    end
    object TrackHorz: TTrackBar
      Left = 428
      Top = 30
      Width = 296
      Height = 44
      Max = 20
      Position = 14
      TickMarks = tmBoth
      TabOrder = 5
    end
    object MediaPlayer1: TMediaPlayer
      Left = 428
      Top = 82
      Width = 200
      Height = 28
      EnabledButtons = [btPlay, btPause, btStop, btNext, btPrev, btRecord, btEject]
      ColoredButtons = [btPlay, btPause, btStop, btRecord]
      OnClick = MediaClick
    end
    object LabelMedia: TLabel
      Left = 640
      Top = 89
      Width = 90
      Height = 14
      Caption = '媒体播放器'
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 820
    Width = 780
    Height = 22
    Align = alBottom
    Panels = <
      item
        Text = '状态栏'
        Width = 200
      end
      item
        Width = 160
      end
      item
        Text = '就绪'
        Width = 80
        Alignment = taCenter
      end
      item
        Text = '凸起'
        Width = 80
        Bevel = pbRaised
      end>
    object ProgressBar1: TProgressBar
      Left = 204
      Top = 3
      Width = 152
      Height = 16
      Position = 60
    end
  end
  object OpenDialogSkin: TOpenDialog
    Filter = '皮肤文件(*.skn)|*.skn|所有文件(*.*)|*.*'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Title = '打开皮肤'
  end
  object PopupMenu1: TPopupMenu
    object POpenSkin: TMenuItem
      Caption = '&O 打开皮肤…'
      OnClick = OpenSkinClick
    end
    object PSkinOff: TMenuItem
      Caption = '&C 关闭皮肤'
      OnClick = SkinOffClick
    end
    object PLine: TMenuItem
      Caption = '-'
    end
    object PMessage: TMenuItem
      Caption = '&M 消息框…'
      OnClick = MessageClick
    end
  end
  object MainMenu1: TMainMenu
    object MFile: TMenuItem
      Caption = '&F 皮肤'
      object MOpenSkin: TMenuItem
        Caption = '&O 打开皮肤…'
        OnClick = OpenSkinClick
      end
      object MBuiltIn: TMenuItem
        Caption = '&B 内置皮肤'
        object MBuiltInDefault: TMenuItem
          Caption = '&D 默认'
          Checked = True
          OnClick = BuiltInClick
        end
        object MBuiltInSlate: TMenuItem
          Caption = '&S 石板'
          OnClick = BuiltInClick
        end
      end
      object MSkinOff: TMenuItem
        Caption = '&C 关闭皮肤'
        OnClick = SkinOffClick
      end
      object MLine: TMenuItem
        Caption = '-'
      end
      object MExit: TMenuItem
        Caption = '&X 退出'
        OnClick = ExitClick
      end
    end
    object MWindow: TMenuItem
      Caption = '&W 窗口'
      object MDialog: TMenuItem
        Caption = '&D 模态对话框…'
        OnClick = DialogClick
      end
      object MMessage: TMenuItem
        Caption = '&M 消息框…'
        OnClick = MessageClick
      end
    end
  end
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcTrackBar, xcSystemMenu]
    Options = [xoPreview, xoToolbarBK]
    Skin3rd.Strings = (
      'TCategoryButtons=scrollbar'
      'TVirtualStringTree=scrollbar'
      'TVirtualDrawTree=scrollbar'
      'TAdvPanelGroup=scrollbar'
      'THTMLViewer=scrollbar'
      'TDBCtrlGrid=scrollbar'
      'TImageEnMView=scrollbar'
      'TImageEnView=scrollbar'
      'TAdvMemo=scrollbar'
      'TDBAdvMemo=scrollbar'
      'TPngBitBtn=pngbitbtn'
      'TLMDGroupBox=Groupbox'
      'TTBXDockablePanel=Panel'
      'TControlBar=Panel'
      'TTBDock=Panel'
      'TTBToolbar=Panel'
      'TLMDGROUPBOX=Panel'
      'TLMDSIMPLEPANEL=Panel'
      'TLMDDBCalendar=Panel'
      'TLMDButtonPanel=Panel'
      'TLMDLMDCalculator=Panel'
      'TLMDHeaderPanel=Panel'
      'TLMDTechnicalLine=Panel'
      'TLMDLMDClock=Panel'
      'trmtoolbarsize=Panel'
      'TRzGroup=panel'
      'TLMDCalculator=panel'
      'TLMDTrackbar=panel'
      'trmtoolbar=panel'
      'trmtoolbaredit=panel'
      'trmtoolbarborder=panel'
      'trmtoolbaralign=panel'
      'trmtoolbarstandard=panel'
      'trmtoolbaraddintools=panel'
      'TComboboxex=combobox'
      'TcxDBLookupComboBox=combobox'
      'TcxDBComboBox=combobox'
      'TcxDBDateEdit=combobox'
      'TcxDBImageComboBox=combobox'
      'TcxDBCalcEdit=combobox'
      'TcxDBBlobEdit=combobox'
      'TcxDBPopupEdit=combobox'
      'TcxDBFontNameComboBox=combobox'
      'TcxDBShellComboBox=combobox'
      'TRxLookupEdit=combobox'
      'TRxDBLookupCombo=combobox'
      'TRzDateTimeEdit=combobox'
      'TRzColorEdit=combobox'
      'TRzDateTimePicker=combobox'
      'TRzDBDateTimeEdit=combobox'
      'TRzDbColorEdit=combobox'
      'TRzDBDateTimePicker=combobox'
      'TLMDListCombobox=combobox'
      'TLMDCheckListCombobox=combobox'
      'TLMDHeaderListCombobox=combobox'
      'TLMDImageCombobox=combobox'
      'TLMDColorCombobox=combobox'
      'TLMDFontCombobox=combobox'
      'TLMDFontSizeCombobox=combobox'
      'TLMDFontSizeCombobox=combobox'
      'TLMDPrinterCombobox=combobox'
      'TLMDDriveCombobox=combobox'
      'TLMDCalculatorComboBox=combobox'
      'TLMDTrackBarComboBox=combobox'
      'TLMDCalendarComboBox=combobox'
      'TLMDTreeComboBox=combobox'
      'TWWTempKeyCombo=combobox'
      'TDBLookupCombobox=Combobox'
      'TWWDBCombobox=Combobox'
      'TWWDBCombobox=Combobox'
      'TWWDBLookupCombo=Combobox'
      'TWWKeyCombo=Combobox'
      'TWWDBDateTimePicker=Combobox'
      'TRxSpeedButton=speedbutton'
      'TfrSpeedButton=speedbutton'
      'TfrTBButton=speedbutton'
      'TRzButton=button'
      'TRzBitbtn=bitbtn'
      'TLMDButton=bitbtn'
      'TcxButton=bitbtn'
      'TRzMenuButton=menubtn'
      'TRzCheckGroup=CheckGroup'
      'TLMDCheckGroup=CheckGroup'
      'TLMDDBCheckGroup=CheckGroup'
      'TRzRadioGroup=Radiogroup'
      'TRzDBRadioGroup=Radiogroup'
      'TLMDRADIOGROUP=radiogroup'
      'TLMDDBRADIOGROUP=radiogroup'
      'TWWRADIOGROUP=radiogroup'
      'TcxDBRadioGroup=radiogroup'
      'TcxRadioGroup=radiogroup'
      'TRzDBRadioButton=Radiobutton'
      'TLMDRadiobutton=Radiobutton'
      'TRzButtonEdit=Edit'
      'TLMDEDIT=Edit'
      'TLMDMASKEDIT=Edit'
      'TLMDBROWSEEDIT=Edit'
      'TLMDEXTSPINEDIT=Edit'
      'TLMDCALENDAREDIT=Edit'
      'TLMDFILEOPENEDIT=Edit'
      'TLMDFILESAVEEDIT=Edit'
      'TLMDCOLOREDIT=Edit'
      'TLMDDBEDIT=Edit'
      'TLMDDBMASKEDIT=Edit'
      'TLMDDBEXTSPINEDIT=Edit'
      'TLMDDBSPINEDIT=Edit'
      'TLMDDBEDITDBLookup=Edit'
      'TLMDEDITDBLookup=Edit'
      'TWWDBEDIT=Edit'
      'TOVCPICTUREFIELD=Edit'
      'TOVCDBPICTUREFIELD=Edit'
      'TOVCSLIDEREDIT=Edit'
      'TOVCDBSLIDEREDIT=Edit'
      'TOVCSIMPLEFIELD=Edit'
      'TOVCDBSIMPLEFIELD=Edit'
      'TO32DBFLEXEDIT=Edit'
      'TOVCNUMERICFIELD=Edit'
      'TOVCDBNUMERICFIELD=Edit'
      'TLMDCalculatorEdit=edit'
      'TcxGroupbox=groupbox'
      'TDBCheckboxEh=Checkbox'
      'TDBCheckboxEh=Checkbox'
      'TLMDCHECKBOX=Checkbox'
      'TLMDDBCHECKBOX=Checkbox')
    SkinFormtype = sfMainform
    MenuUpdate = True
    MenuMerge = False
    // The built-in skin (skins/default), packed and written into this block by the build.
    SkinStream = {}
  end
end
