CREATE TABLE [dbo].[TApp] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Version] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[ProductId] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[RegOrg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[RegOwn] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TCdrom] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TDisk] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TDisplayAdapter] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Drivers] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[NameString] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[ChipType] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[DacType] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Memory] [bigint] NULL ,
	[Location] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TDisplayMonitor] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[MaxRes] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TDriver] (
	[PId] [bigint] NOT NULL ,
	[DisplayName] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Status] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[StartType] [varchar] (32) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Provider] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Product] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Version] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[ImageFile] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[FileVersion] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TFloppy] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TKeyboard] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TMain] (
	[PId] [bigint] IDENTITY (1, 1) NOT NULL ,
	[Name] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NOT NULL ,
	[UpdateTime] [datetime] NOT NULL ,
	[Updated] [bigint] NULL ,
	[OsName] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsVersion] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsUpdate] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsProductId] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsRegOrg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsRegOwn] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BiosId] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BiosDate] [datetime] NULL ,
	[CpuName] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[CpuDesc] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[CpuClock] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[CpuMfg] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[CpuCount] [int] NULL ,
	[Mem_Total] [bigint] NULL ,
	[Mem_Free] [bigint] NULL ,
	[Mem_Virtual_Total] [bigint] NULL ,
	[Mem_Virtual_Free] [bigint] NULL ,
	[Mem_Page_Total] [bigint] NULL ,
	[Mem_Page_Free] [bigint] NULL ,
	[LogonUser] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[LogonTime] [datetime] NULL ,
	[Workgroup] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[FQDN] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BiosMfg] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BiosVer] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BaseboardProduct] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BaseboardMfg] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[MachineModel] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[MachineMfg] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Removed] [datetime] NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TMainLast] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NOT NULL ,
	[UpdateTime] [datetime] NOT NULL ,
	[Updated] [bigint] NULL ,
	[OsName] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsVersion] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsUpdate] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsProductId] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsRegOrg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[OsRegOwn] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BiosId] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BiosDate] [datetime] NULL ,
	[CpuName] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[CpuDesc] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[CpuClock] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[CpuMfg] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[CpuCount] [int] NULL ,
	[Mem_Total] [bigint] NULL ,
	[Mem_Free] [bigint] NULL ,
	[Mem_Virtual_Total] [bigint] NULL ,
	[Mem_Virtual_Free] [bigint] NULL ,
	[Mem_Page_Total] [bigint] NULL ,
	[Mem_Page_Free] [bigint] NULL ,
	[LogonUser] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[LogonTime] [datetime] NULL ,
	[Workgroup] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[FQDN] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BiosMfg] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BiosVer] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BaseboardProduct] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[BaseboardMfg] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[MachineModel] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[MachineMfg] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Removed] [datetime] NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TMedia] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Location] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TNet] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Address] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Type] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Ip] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mask] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Gateway] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Dhcp] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[PrimaryWinsServer] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[SecondaryWinsServer] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[DnsServer] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TNic] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Location] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TPointer] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Mfg] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TPrinter] (
	[PId] [bigint] NOT NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TService] (
	[PId] [bigint] NOT NULL ,
	[DisplayName] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Status] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[StartType] [varchar] (32) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Provider] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Product] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Version] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[ImageFile] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[FileVersion] [varchar] (128) COLLATE SQL_Latin1_General_CP1_CI_AS NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TSysLogDrive] (
	[PId] [bigint] NOT NULL ,
	[Drive] [varchar] (4) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Type] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Serial] [bigint] NULL ,
	[FileSystem] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Space_Total] [bigint] NULL ,
	[Space_Free] [bigint] NULL 
) ON [PRIMARY]


CREATE TABLE [dbo].[TUserLogDrive] (
	[PId] [bigint] NOT NULL ,
	[Drive] [varchar] (4) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Type] [varchar] (16) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Name] [varchar] (256) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Serial] [bigint] NULL ,
	[FileSystem] [varchar] (64) COLLATE SQL_Latin1_General_CP1_CI_AS NULL ,
	[Space_Total] [bigint] NULL ,
	[Space_Free] [bigint] NULL 
) ON [PRIMARY]


ALTER TABLE [dbo].[TMain] WITH NOCHECK ADD 
	CONSTRAINT [PK_TMain] PRIMARY KEY  CLUSTERED 
	(
		[PId]
	)  ON [PRIMARY] 


 CREATE  CLUSTERED  INDEX [IX_TApp] ON [dbo].[TApp]([PId]) ON [PRIMARY]


 CREATE  CLUSTERED  INDEX [IX_TDriver] ON [dbo].[TDriver]([PId]) ON [PRIMARY]


 CREATE  CLUSTERED  INDEX [IX_TService] ON [dbo].[TService]([PId]) ON [PRIMARY]


ALTER TABLE [dbo].[TApp] WITH NOCHECK ADD 
	CONSTRAINT [DF_TApp_Name] DEFAULT (null) FOR [Name],
	CONSTRAINT [DF_TApp_Version] DEFAULT (null) FOR [Version],
	CONSTRAINT [DF_TApp_Mfg] DEFAULT (null) FOR [Mfg],
	CONSTRAINT [DF_TApp_ProductId] DEFAULT (null) FOR [ProductId],
	CONSTRAINT [DF_TApp_RegOrg] DEFAULT (null) FOR [RegOrg],
	CONSTRAINT [DF_TApp_RegOwn] DEFAULT (null) FOR [RegOwn]


ALTER TABLE [dbo].[TDisplayAdapter] WITH NOCHECK ADD 
	CONSTRAINT [DF_TDisplayAdapter_Name] DEFAULT (null) FOR [Name],
	CONSTRAINT [DF_TDisplayAdapter_Driver] DEFAULT (null) FOR [Drivers],
	CONSTRAINT [DF_TDisplayAdapter_NameString] DEFAULT (null) FOR [NameString],
	CONSTRAINT [DF_TDisplayAdapter_ChipType] DEFAULT (null) FOR [ChipType],
	CONSTRAINT [DF_TDisplayAdapter_DacType] DEFAULT (null) FOR [DacType],
	CONSTRAINT [DF_TDisplayAdapter_Memory] DEFAULT (null) FOR [Memory],
	CONSTRAINT [DF_TDisplayAdapter_Location] DEFAULT (null) FOR [Location],
	CONSTRAINT [DF_TDisplayAdapter_Mfg] DEFAULT (null) FOR [Mfg]


ALTER TABLE [dbo].[TDisplayMonitor] WITH NOCHECK ADD 
	CONSTRAINT [DF_TDisplayMonitor_Mfg] DEFAULT (null) FOR [Mfg],
	CONSTRAINT [DF_TDisplayMonitor_MaxRes] DEFAULT (null) FOR [MaxRes]


ALTER TABLE [dbo].[TDriver] WITH NOCHECK ADD 
	CONSTRAINT [DF_TDriver_Provider] DEFAULT (null) FOR [Provider],
	CONSTRAINT [DF_TDriver_Product] DEFAULT (null) FOR [Product],
	CONSTRAINT [DF_TDriver_Version] DEFAULT (null) FOR [Version],
	CONSTRAINT [DF_TDriver_ImageFile] DEFAULT (null) FOR [ImageFile],
	CONSTRAINT [DF_TDriver_FileVersion] DEFAULT (null) FOR [FileVersion]


ALTER TABLE [dbo].[TKeyboard] WITH NOCHECK ADD 
	CONSTRAINT [DF_TKeyboard_Mfg] DEFAULT (null) FOR [Mfg]


ALTER TABLE [dbo].[TMain] WITH NOCHECK ADD 
	CONSTRAINT [DF_TMain_Updated] DEFAULT (0) FOR [Updated],
	CONSTRAINT [DF_TMain_OsUpdate] DEFAULT (null) FOR [OsUpdate],
	CONSTRAINT [DF_TMain_OsProductId] DEFAULT (null) FOR [OsProductId],
	CONSTRAINT [DF_TMain_OsRegOrg] DEFAULT (null) FOR [OsRegOrg],
	CONSTRAINT [DF_TMain_OsRegOwn] DEFAULT (null) FOR [OsRegOwn],
	CONSTRAINT [DF_TMain_BiosId] DEFAULT (null) FOR [BiosId],
	CONSTRAINT [DF_TMain_BiosDate] DEFAULT (null) FOR [BiosDate],
	CONSTRAINT [DF_TMain_CpuDesc] DEFAULT (null) FOR [CpuDesc],
	CONSTRAINT [DF_TMain_CpuClock] DEFAULT (null) FOR [CpuClock],
	CONSTRAINT [DF_TMain_CpuMfg] DEFAULT (null) FOR [CpuMfg],
	CONSTRAINT [DF_TMain_CpuCount] DEFAULT (null) FOR [CpuCount],
	CONSTRAINT [DF_TMain_Mem_Virtual_Total] DEFAULT (null) FOR [Mem_Virtual_Total],
	CONSTRAINT [DF_TMain_Mem_Virtual_Free] DEFAULT (null) FOR [Mem_Virtual_Free],
	CONSTRAINT [DF_TMain_Mem_Page_Total] DEFAULT (null) FOR [Mem_Page_Total],
	CONSTRAINT [DF_TMain_Mem_Page_Free] DEFAULT (null) FOR [Mem_Page_Free],
	CONSTRAINT [DF_TMain_LogonUser] DEFAULT (null) FOR [LogonUser],
	CONSTRAINT [DF_TMain_LogonTime] DEFAULT (null) FOR [LogonTime],
	CONSTRAINT [DF_TMain_Workgroup] DEFAULT (null) FOR [Workgroup],
	CONSTRAINT [DF_TMain_FQDN] DEFAULT (null) FOR [FQDN],
	CONSTRAINT [DF_TMain_BiosMfg] DEFAULT (null) FOR [BiosMfg],
	CONSTRAINT [DF_TMain_BiosVer] DEFAULT (null) FOR [BiosVer],
	CONSTRAINT [DF_TMain_BaseboardProduct] DEFAULT (null) FOR [BaseboardProduct],
	CONSTRAINT [DF_TMain_BaseboardMfg] DEFAULT (null) FOR [BaseboardMfg],
	CONSTRAINT [DF_TMain_Removed] DEFAULT (null) FOR [Removed]



ALTER TABLE [dbo].[TMainLast] WITH NOCHECK ADD 
	CONSTRAINT [DF_TMainLast_Updated] DEFAULT (0) FOR [Updated],
	CONSTRAINT [DF_TMainLast_Workgroup] DEFAULT (null) FOR [Workgroup],
	CONSTRAINT [DF_TMainLast_FQDN] DEFAULT (null) FOR [FQDN],
	CONSTRAINT [DF_TMainLast_BiosMfg] DEFAULT (null) FOR [BiosMfg],
	CONSTRAINT [DF_TMainLast_BiosVer] DEFAULT (null) FOR [BiosVer],
	CONSTRAINT [DF_TMainLast_BaseboardProduct] DEFAULT (null) FOR [BaseboardProduct],
	CONSTRAINT [DF_TMainLast_BaseboardMfg] DEFAULT (null) FOR [BaseboardMfg],
	CONSTRAINT [DF_TMainLast_Removed] DEFAULT (null) FOR [Removed]


ALTER TABLE [dbo].[TMedia] WITH NOCHECK ADD
	CONSTRAINT [DF_TMedia_Name] DEFAULT (null) FOR [Name],
	CONSTRAINT [DF_TMedia_Mfg] DEFAULT (null) FOR [Mfg],
	CONSTRAINT [DF_TMedia_Location] DEFAULT (null) FOR [Location]


ALTER TABLE [dbo].[TNet] WITH NOCHECK ADD 
	CONSTRAINT [DF_TNet_Type] DEFAULT (null) FOR [Type],
	CONSTRAINT [DF_TNet_Gateway] DEFAULT (null) FOR [Gateway],
	CONSTRAINT [DF_TNet_Dhcp] DEFAULT (null) FOR [Dhcp],
	CONSTRAINT [DF_TNet_PrimaryWinsServer] DEFAULT (null) FOR [PrimaryWinsServer],
	CONSTRAINT [DF_TNet_SecondaryWinsServer] DEFAULT (null) FOR [SecondaryWinsServer],
	CONSTRAINT [DF_TNet_DnsServer] DEFAULT (null) FOR [DnsServer]


ALTER TABLE [dbo].[TNic] WITH NOCHECK ADD 
	CONSTRAINT [DF_TNic_Name] DEFAULT (null) FOR [Name],
	CONSTRAINT [DF_TNic_Mfg] DEFAULT (null) FOR [Mfg],
	CONSTRAINT [DF_TNic_Location] DEFAULT (null) FOR [Location]


ALTER TABLE [dbo].[TPointer] WITH NOCHECK ADD 
	CONSTRAINT [DF_TPointer_Mfg] DEFAULT (null) FOR [Mfg]


ALTER TABLE [dbo].[TPrinter] WITH NOCHECK ADD 
	CONSTRAINT [DF_TPrinter_Name] DEFAULT (null) FOR [Name]


ALTER TABLE [dbo].[TService] WITH NOCHECK ADD 
	CONSTRAINT [DF_TService_Provider] DEFAULT (null) FOR [Provider],
	CONSTRAINT [DF_TService_Product] DEFAULT (null) FOR [Product],
	CONSTRAINT [DF_TService_Version] DEFAULT (null) FOR [Version],
	CONSTRAINT [DF_TService_ImageFile] DEFAULT (null) FOR [ImageFile],
	CONSTRAINT [DF_TService_FileVersion] DEFAULT (null) FOR [FileVersion]


ALTER TABLE [dbo].[TSysLogDrive] WITH NOCHECK ADD 
	CONSTRAINT [DF_TSysLogDrive_Name] DEFAULT (null) FOR [Name],
	CONSTRAINT [DF_TSysLogDrive_Serial] DEFAULT (null) FOR [Serial],
	CONSTRAINT [DF_TSysLogDrive_FileSystem] DEFAULT (null) FOR [FileSystem],
	CONSTRAINT [DF_TSysLogDrive_Space_Total] DEFAULT (null) FOR [Space_Total],
	CONSTRAINT [DF_TSysLogDrive_Space_Free] DEFAULT (null) FOR [Space_Free]


ALTER TABLE [dbo].[TUserLogDrive] WITH NOCHECK ADD 
	CONSTRAINT [DF_TUserLogDrive_Name] DEFAULT (null) FOR [Name],
	CONSTRAINT [DF_TUserLogDrive_Serial] DEFAULT (null) FOR [Serial],
	CONSTRAINT [DF_TUserLogDrive_FileSystem] DEFAULT (null) FOR [FileSystem],
	CONSTRAINT [DF_TUserLogDrive_Space_Total] DEFAULT (null) FOR [Space_Total],
	CONSTRAINT [DF_TUserLogDrive_Space_Free] DEFAULT (null) FOR [Space_Free]


 CREATE  NONCLUSTERED INDEX [IX_TApp_1] ON [dbo].[TApp]([PId], [Name]) ON [PRIMARY]


 CREATE  NONCLUSTERED INDEX [IX_TDriver_1] ON [dbo].[TDriver]([PId], [DisplayName]) ON [PRIMARY]


 CREATE  NONCLUSTERED INDEX [IX_TMain] ON [dbo].[TMain]([PId]) ON [PRIMARY]


 CREATE  NONCLUSTERED INDEX [IX_TMainLast] ON [dbo].[TMainLast]([Name], [Removed]) ON [PRIMARY]


 CREATE  NONCLUSTERED INDEX [IX_TService_1] ON [dbo].[TService]([PId], [DisplayName]) ON [PRIMARY]


ALTER TABLE [dbo].[TApp] ADD 
	CONSTRAINT [FK_TApp_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TCdrom] ADD 
	CONSTRAINT [FK_TCdrom_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TDisk] ADD 
	CONSTRAINT [FK_TDisk_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TDisplayAdapter] ADD 
	CONSTRAINT [FK_TDisplayAdapter_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TDisplayMonitor] ADD 
	CONSTRAINT [FK_TDisplayMonitor_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TDriver] ADD 
	CONSTRAINT [FK_TDriver_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TFloppy] ADD 
	CONSTRAINT [FK_TFloppy_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TKeyboard] ADD 
	CONSTRAINT [FK_TKeyboard_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TMedia] ADD 
	CONSTRAINT [FK_TMedia_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TNet] ADD 
	CONSTRAINT [FK_TNet_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TNic] ADD 
	CONSTRAINT [FK_TNic_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TPointer] ADD 
	CONSTRAINT [FK_TPointer_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TPrinter] ADD 
	CONSTRAINT [FK_TPrinter_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TService] ADD 
	CONSTRAINT [FK_TService_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TSysLogDrive] ADD 
	CONSTRAINT [FK_TSysLogDrive_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


ALTER TABLE [dbo].[TUserLogDrive] ADD 
	CONSTRAINT [FK_TUserLogDrive_TMain] FOREIGN KEY 
	(
		[PId]
	) REFERENCES [dbo].[TMain] (
		[PId]
	) ON DELETE CASCADE  ON UPDATE CASCADE 


