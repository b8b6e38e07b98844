// Main window: direction, destination, key fields, the numbered source list, the result log,
// the command buttons, the progress status bar, the two engine instances, dialogs, menus and
// the skin data component with the built-in skin.
object FormSealbox: TFormSealbox
  Left = 109
  Top = 117
  Width = 881
  Height = 490
  Caption = '专用文件加密工具'
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  Menu = MainMenu1
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnShow = FormShow
  object SBSD: TSpeedButton
    Left = 817
    Top = 32
    Width = 33
    Height = 22
    Caption = '选择'
    OnClick = SBSDClick
  end
  object RGAction: TRadioGroup
    Left = 18
    Top = 17
    Width = 177
    Height = 33
    Caption = '方式选择'
    Columns = 2
    ItemIndex = 0
    Items.Strings = (
      '加密'
      '解密')
    TabOrder = 0
    OnClick = RGActionClick
  end
  object LEDest: TLabeledEdit
    Left = 455
    Top = 32
    Width = 361
    Height = 20
    EditLabel.Caption = '目标路径'
    LabelPosition = lpAbove
    TabOrder = 1
  end
  object LEPassword: TLabeledEdit
    Left = 69
    Top = 61
    Width = 365
    Height = 20
    EditLabel.Caption = '操作密钥'
    EditLabel.Font.Charset = GB2312_CHARSET
    EditLabel.Font.Color = clRed
    EditLabel.Font.Height = -12
    EditLabel.Font.Name = '宋体'
    EditLabel.Font.Style = []
    EditLabel.ParentFont = False
    LabelPosition = lpLeft
    PasswordChar = '*'
    TabOrder = 2
  end
  object LEPassword1: TLabeledEdit
    Left = 69
    Top = 84
    Width = 365
    Height = 20
    EditLabel.Caption = '重复密钥'
    EditLabel.Font.Charset = GB2312_CHARSET
    EditLabel.Font.Color = clRed
    EditLabel.Font.Height = -12
    EditLabel.Font.Name = '宋体'
    EditLabel.Font.Style = []
    EditLabel.ParentFont = False
    LabelPosition = lpLeft
    PasswordChar = '*'
    TabOrder = 3
  end
  object GroupBox1: TGroupBox
    Left = 18
    Top = 110
    Width = 415
    Height = 250
    Caption = '源文件'
    TabOrder = 4
    object VLDSource: TValueListEditor
      Left = 2
      Top = 14
      Width = 411
      Height = 234
      Align = alClient
      Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goThumbTracking]
      PopupMenu = PMSource
      TabOrder = 0
      TitleCaptions.Strings = (
        '序号'
        '名称')
      OnKeyUp = VLDSourceKeyUp
      ColWidths = (
        48
        357)
    end
  end
  object GroupBox2: TGroupBox
    Left = 453
    Top = 62
    Width = 400
    Height = 298
    Caption = '操作结果'
    TabOrder = 5
    object MemoDest: TMemo
      Left = 2
      Top = 14
      Width = 396
      Height = 282
      Align = alClient
      Font.Charset = GB2312_CHARSET
      Font.Color = clBlue
      Font.Height = -12
      Font.Name = '宋体'
      Font.Style = []
      ParentFont = False
      ReadOnly = True
      ScrollBars = ssVertical
      TabOrder = 0
    end
  end
  object SelectFile: TButton
    Left = 126
    Top = 375
    Width = 75
    Height = 25
    Caption = '选择源文件'
    TabOrder = 6
    OnClick = SelectFileClick
  end
  object ClearFile: TButton
    Left = 233
    Top = 375
    Width = 75
    Height = 25
    Caption = '全部清除'
    TabOrder = 7
    OnClick = ClearFileClick
  end
  object Cifra: TButton
    Left = 532
    Top = 375
    Width = 75
    Height = 25
    Caption = '加密'
    Enabled = False
    TabOrder = 8
    OnClick = CifraClick
  end
  object Decifra: TButton
    Left = 625
    Top = 375
    Width = 75
    Height = 25
    Caption = '解密'
    Enabled = False
    TabOrder = 9
    OnClick = DecifraClick
  end
  object SSTop: TButton
    Left = 719
    Top = 375
    Width = 75
    Height = 25
    Caption = '中断'
    Enabled = False
    TabOrder = 10
    OnClick = SSTopClick
  end
  object MyStatusBar1: TMyStatusBar
    Left = 0
    Top = 417
    Width = 873
    Height = 19
    Font.Charset = GB2312_CHARSET
    Font.Color = clBlack
    Font.Height = -12
    Font.Name = '宋体'
    Font.Style = [fsUnderline]
    Panels = <
      item
        Alignment = taRightJustify
        Width = 200
      end
      item
        Alignment = taCenter
        Width = 60
      end
      item
        Style = psOwnerDraw
        Width = 200
      end
      item
        Bevel = pbRaised
        Text = '密钥内置'
        Width = 50
      end>
    ParentFont = False
    PIndex = 2
  end
  object Encrypt: TCryptoApi
    Mode = cmStream
    InitUser = False
    onSolution = DecryptSolution
  end
  object Decrypt: TCryptoApi
    Mode = cmStream
    InitUser = False
    onSolution = DecryptSolution
  end
  object OpenDialogS: TOpenDialog
    Filter = '源文件(*.*)|*.*'
    Options = [ofHideReadOnly, ofAllowMultiSelect, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Title = '请选择源文件'
  end
  object SaveDialogD: TSaveDialog
    Filter = '结果文件(*.*)|*.*'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofNoReadOnlyReturn, ofEnableSizing]
    Title = '请选择结果文件'
  end
  object PMSource: TPopupMenu
    object PSelect: TMenuItem
      Caption = '&S 选择源文件'
      OnClick = SelectFileClick
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object PDelete: TMenuItem
      Caption = '&D 删除此文件'
      OnClick = PDeleteClick
    end
    object PClear: TMenuItem
      Caption = '&A 全部清除'
      OnClick = ClearFileClick
    end
  end
  object MainMenu1: TMainMenu
    object MFile: TMenuItem
      Caption = '&F 文件'
      object MFExit: TMenuItem
        Caption = '&Q 结束'
        OnClick = MFExitClick
      end
    end
    object MHelp: TMenuItem
      Caption = '&H 帮助'
      object MHDoc: TMenuItem
        Caption = '&D 帮助文档'
        OnClick = MHDocClick
      end
      object MHAbout: TMenuItem
        Caption = '&A 关于...'
        OnClick = MHAboutClick
      end
    end
    object MExit: TMenuItem
      Caption = '&Q 结束'
      OnClick = MFExitClick
    end
  end
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcTab, xcTrackBar, xcSystemMenu]
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
